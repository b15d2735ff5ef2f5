#include "ui/CustomListBox.h"

#include "ui/LayoutReader.h"

namespace ui {

TCustomListBox::TCustomListBox(TWinControl* parent) : TControl(parent) {
  InitTabStop(true);
  InitColor(clWindow, false);
  SetBounds(0, 0, 121, 97);
}

int TCustomListBox::AddItem(const std::string& text, void* object) {
  InsertItem(ItemCount(), text, object);
  return ItemCount() - 1;
}

void TCustomListBox::InsertItem(int index, const std::string& text, void* object) {
  items_.insert(items_.begin() + index, TItem{text, object});
  if (itemIndex_ >= index) ++itemIndex_;
  if (!HandleAllocated()) return;
  const LRESULT at = SendMessageA(Handle(), LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(Handle(), LB_SETITEMDATA, at, reinterpret_cast<LPARAM>(object));
}

void TCustomListBox::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
  if (HandleAllocated()) SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
}

int TCustomListBox::ItemIndex() {
  if (HandleAllocated()) itemIndex_ = static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TCustomListBox::SetItemIndex(int index) {
  itemIndex_ = index;
  if (HandleAllocated()) SendMessageA(Handle(), LB_SETCURSEL, index, 0);
}

void TCustomListBox::SetItemHeight(int height) {
  itemHeight_ = height;
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, height);
  Invalidate();
}

void TCustomListBox::BeginUpdate() {
  if (updateCount_++ == 0 && HandleAllocated()) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TCustomListBox::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ != 0 || !HandleAllocated()) return;
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomListBox::DrawItem(HDC dc, int index, const RECT& rect, UINT) {
  const std::string& text = ItemText(index);
  ExtTextOutA(dc, rect.left + 2, rect.top, ETO_OPAQUE | ETO_CLIPPED, &rect, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
}

void TCustomListBox::SelectionChanged() {
  if (OnClick) OnClick(this);
}

bool TCustomListBox::SetProperty(const std::string& name, const TLayoutValue& value,
                                 TLayoutReader& reader) {
  if (name == "ItemHeight") {
    SetItemHeight(value.AsInteger());
  } else if (name == "OnClick") {
    OnClick = reader.NotifyHandler(value);
  } else {
    return TControl::SetProperty(name, value, reader);
  }
  return true;
}

void TCustomListBox::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.WindowClass = "LISTBOX";
  params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
  TControl::CreateWnd();
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
  if (updateCount_ > 0) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
  for (std::size_t i = 0; i < items_.size(); ++i) {
    SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_[i].Text.c_str()));
    SendMessageA(Handle(), LB_SETITEMDATA, i, reinterpret_cast<LPARAM>(items_[i].Object));
  }
  SendMessageA(Handle(), LB_SETCURSEL, itemIndex_, 0);
}

void TCustomListBox::CommandNotify(WORD code) {
  if (code != LBN_SELCHANGE) return;
  ItemIndex();
  SelectionChanged();
}

void TCustomListBox::DrawItemNotify(DRAWITEMSTRUCT& item) {
  DrawOwnerItem(item, ItemCount(), [&](HDC dc, int index) {
    if (index >= 0) {
      DrawItem(dc, index, item.rcItem, item.itemState);
    } else {
      ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &item.rcItem, nullptr, 0, nullptr);
    }
  });
}

void TCustomListBox::MeasureItemNotify(MEASUREITEMSTRUCT& item) { item.itemHeight = itemHeight_; }

}  // namespace ui
