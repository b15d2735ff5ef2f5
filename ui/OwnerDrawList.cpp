#include "ui/OwnerDrawList.h"

#include "ui/LayoutReader.h"

namespace ui {

namespace {
constexpr int kDropDownCount = 8;  // items shown in the open list before it scrolls
}  // namespace

TOwnerDrawList::TOwnerDrawList(TWinControl* parent, TListStyle style)
    : TControl(parent), dropDown_(style == TListStyle::DropDownList) {
  InitTabStop(true);
  InitColor(clWindow);
  SetBounds(0, 0, 145, dropDown_ ? 21 : 97);
}

void TOwnerDrawList::AddItem(const std::string& text, void* object) {
  items_.push_back(TItem{text, object});
  if (!HandleAllocated()) return;
  AddWindowItem(items_.back());
}

void TOwnerDrawList::AddWindowItem(const TItem& item) {
  // The items are paths, narrow text in the ANSI code page: the narrow message hands them
  // to the Unicode window, which widens them with that code page.
  const LRESULT at = SendMessageA(Handle(), Message(LB_ADDSTRING, CB_ADDSTRING), 0,
                                  reinterpret_cast<LPARAM>(item.Text.c_str()));
  SendMessageW(Handle(), Message(LB_SETITEMDATA, CB_SETITEMDATA), at, reinterpret_cast<LPARAM>(item.Object));
}

void TOwnerDrawList::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
  if (HandleAllocated()) SendMessageW(Handle(), Message(LB_RESETCONTENT, CB_RESETCONTENT), 0, 0);
}

int TOwnerDrawList::ItemIndex() {
  if (HandleAllocated()) {
    itemIndex_ = static_cast<int>(SendMessageW(Handle(), Message(LB_GETCURSEL, CB_GETCURSEL), 0, 0));
  }
  return itemIndex_;
}

void TOwnerDrawList::SetItemIndex(int index) {
  itemIndex_ = index;
  if (HandleAllocated()) SendMessageW(Handle(), Message(LB_SETCURSEL, CB_SETCURSEL), index, 0);
}

void TOwnerDrawList::SetItemHeight(int height) {
  designItemHeight_ = MulDiv(height, kDesignDpi, Dpi());
  itemHeight_ = height;
  if (HandleAllocated()) SendItemHeight();
}

void TOwnerDrawList::ChangeScale() {
  itemHeight_ = Scale(designItemHeight_);
  TControl::ChangeScale();
  if (HandleAllocated()) SendItemHeight();
}

void TOwnerDrawList::FontChanged() {
  TControl::FontChanged();
  if (HandleAllocated()) SendItemHeight();
}

void TOwnerDrawList::SendItemHeight() {
  if (dropDown_) SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight_);
  SendMessageW(Handle(), Message(LB_SETITEMHEIGHT, CB_SETITEMHEIGHT), 0, itemHeight_);
  if (dropDown_) {
    // The face's height follows the item height; the control reports what it shows.
    RECT r;
    GetWindowRect(Handle(), &r);
    if (r.bottom - r.top != Height()) PlaceAt(Left(), Top(), Width(), r.bottom - r.top);
  }
  Invalidate();
}

void TOwnerDrawList::BeginUpdate() {
  if (updateCount_++ == 0 && HandleAllocated()) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TOwnerDrawList::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ != 0 || !HandleAllocated()) return;
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TOwnerDrawList::NotifyChange() {
  if (OnChange) OnChange(this);
}

bool TOwnerDrawList::SetProperty(const std::string& name, const TLayoutValue& value,
                                 TLayoutReader& reader) {
  if (name == "ItemHeight") {
    SetItemHeight(value.AsInteger());
  } else if (name == "OnChange") {
    OnChange = reader.NotifyHandler(value);
  } else {
    return TControl::SetProperty(name, value, reader);
  }
  return true;
}

void TOwnerDrawList::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  if (dropDown_) {
    params.WindowClass = L"COMBOBOX";
    params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL;
  } else {
    params.WindowClass = L"LISTBOX";
    params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
  }
}

void TOwnerDrawList::CreateWnd() {
  TControl::CreateWnd();
  if (updateCount_ > 0) SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  for (const TItem& item : items_) AddWindowItem(item);
  SendMessageW(Handle(), Message(LB_SETCURSEL, CB_SETCURSEL), itemIndex_, 0);
  SendItemHeight();
}

int TOwnerDrawList::WindowHeight() const {
  return dropDown_ ? Height() + itemHeight_ * kDropDownCount + Scale(2) : Height();
}

void TOwnerDrawList::CommandNotify(WORD code) {
  static_assert(LBN_SELCHANGE == CBN_SELCHANGE);
  if (code != LBN_SELCHANGE) return;
  ItemIndex();
  SelectionChanged();
}

void TOwnerDrawList::DrawItemNotify(DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const int saved = SaveDC(dc);
  SelectObject(dc, FontHandle());
  const int index = static_cast<int>(item.itemID) < ItemCount() ? static_cast<int>(item.itemID) : -1;
  const bool selected = (item.itemState & ODS_SELECTED) != 0 && index >= 0;
  SetBkColor(dc, ColorToRGB(selected ? clHighlight : Color()));
  SetTextColor(dc, ColorToRGB(selected ? clHighlightText : Font().Color));
  if (index >= 0) {
    DrawItem(dc, index, item.rcItem);
  } else {  // no item: an empty list, or a drop-down list's face without a selection
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &item.rcItem, nullptr, 0, nullptr);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
  RestoreDC(dc, saved);
}

void TOwnerDrawList::MeasureItemNotify(MEASUREITEMSTRUCT& item) { item.itemHeight = itemHeight_; }

}  // namespace ui
