#include "ui/CustomComboBox.h"

#include "ui/LayoutReader.h"

namespace ui {

TCustomComboBox::TCustomComboBox(TWinControl* parent) : TControl(parent) {
  InitTabStop(true);
  InitColor(clWindow, false);
  SetBounds(0, 0, 145, 21);
}

int TCustomComboBox::AddItem(const std::string& text, void* object) {
  items_.push_back(TItem{text, object});
  if (HandleAllocated()) {
    const LRESULT at = SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(Handle(), CB_SETITEMDATA, at, reinterpret_cast<LPARAM>(object));
  }
  return ItemCount() - 1;
}

void TCustomComboBox::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
  if (HandleAllocated()) SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
}

int TCustomComboBox::ItemIndex() {
  if (HandleAllocated()) itemIndex_ = static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TCustomComboBox::SetItemIndex(int index) {
  itemIndex_ = index;
  if (HandleAllocated()) SendMessageA(Handle(), CB_SETCURSEL, index, 0);
}

void TCustomComboBox::SetItemHeight(int height) {
  itemHeight_ = height;
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
  SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, height);
  UpdateHeight();
}

bool TCustomComboBox::DroppedDown() {
  return HandleAllocated() && SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

int TCustomComboBox::WindowHeight() const {
  // The window of a drop-down list spans its face and its open list.
  return Height() + itemHeight_ * dropDownCount_ + 2;
}

void TCustomComboBox::UpdateHeight() {
  // The face's height follows the item height; the control reports what it shows.
  RECT r;
  GetWindowRect(Handle(), &r);
  const int face = r.bottom - r.top;
  if (face != Height()) TControl::SetBounds(Left(), Top(), Width(), face);
}

void TCustomComboBox::DrawItem(HDC dc, int index, const RECT& rect, UINT) {
  const std::string text = index >= 0 ? ItemText(index) : std::string();
  ExtTextOutA(dc, rect.left + 2, rect.top, ETO_OPAQUE | ETO_CLIPPED, &rect, text.c_str(),
              static_cast<UINT>(text.size()), nullptr);
}

void TCustomComboBox::SelectionChanged() { Change(); }

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

bool TCustomComboBox::SetProperty(const std::string& name, const TLayoutValue& value,
                                  TLayoutReader& reader) {
  if (name == "ItemHeight") {
    SetItemHeight(value.AsInteger());
  } else if (name == "DropDownCount") {
    SetDropDownCount(value.AsInteger());
  } else if (name == "OnChange") {
    OnChange = reader.NotifyHandler(value);
  } else {
    return TControl::SetProperty(name, value, reader);
  }
  return true;
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.WindowClass = "COMBOBOX";
  params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL;
}

void TCustomComboBox::CreateWnd() {
  TControl::CreateWnd();
  SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight_);
  SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, itemHeight_);
  for (std::size_t i = 0; i < items_.size(); ++i) {
    SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_[i].Text.c_str()));
    SendMessageA(Handle(), CB_SETITEMDATA, i, reinterpret_cast<LPARAM>(items_[i].Object));
  }
  SendMessageA(Handle(), CB_SETCURSEL, itemIndex_, 0);
  UpdateHeight();
}

void TCustomComboBox::CommandNotify(WORD code) {
  if (code != CBN_SELCHANGE) return;
  ItemIndex();
  SelectionChanged();
}

void TCustomComboBox::DrawItemNotify(DRAWITEMSTRUCT& item) {
  DrawOwnerItem(item, ItemCount(),
                [&](HDC dc, int index) { DrawItem(dc, index, item.rcItem, item.itemState); });
}

void TCustomComboBox::MeasureItemNotify(MEASUREITEMSTRUCT& item) { item.itemHeight = itemHeight_; }

}  // namespace ui
