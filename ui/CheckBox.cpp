#include "ui/CheckBox.h"

#include "ui/LayoutReader.h"
#include "ui/WinControl.h"

namespace ui {

TCheckBox::TCheckBox(TWinControl* parent) : TControl(parent) {
  InitTabStop(true);
  SetBounds(0, 0, 97, 17);
}

bool TCheckBox::Checked() const {
  if (HandleAllocated()) {
    checked_ = SendMessageA(const_cast<TCheckBox*>(this)->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  return checked_;
}

void TCheckBox::SetChecked(bool checked) {
  checked_ = checked;
  if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

TColor TCheckBox::BackgroundColor() const {
  return Parent() ? Parent()->BackgroundColor() : Color();
}

bool TCheckBox::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name == "Caption") {
    SetCaption(value.AsString());
  } else if (name == "Checked") {
    SetChecked(value.AsBoolean());
  } else if (name == "OnClick") {
    OnClick = reader.NotifyHandler(value);
  } else {
    return TControl::SetProperty(name, value, reader);
  }
  return true;
}

void TCheckBox::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.WindowClass = "BUTTON";
  params.Style |= BS_AUTOCHECKBOX;
}

void TCheckBox::CreateWnd() {
  TControl::CreateWnd();
  SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::CommandNotify(WORD code) {
  if (code != BN_CLICKED) return;
  Checked();  // refresh the kept state
  if (OnClick) OnClick(this);
}

HBRUSH TCheckBox::CtlColor(HDC dc, UINT) {
  const TColor background = BackgroundColor();
  SetBkColor(dc, ColorToRGB(background));
  SetTextColor(dc, ColorToRGB(Font().Color));
  return BrushFor(background);
}

}  // namespace ui
