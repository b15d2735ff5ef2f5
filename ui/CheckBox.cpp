#include "ui/CheckBox.h"

#include "ui/LayoutReader.h"

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

void TCheckBox::Click() { SendMessageA(Handle(), BM_CLICK, 0, 0); }

TControl* TCheckBox::MnemonicTarget(char key) {
  return CanFocus() && MnemonicOf(Caption()) == key ? this : nullptr;
}

bool TCheckBox::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name == "Checked") {
    SetChecked(value.AsBoolean());
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

HBRUSH TCheckBox::CtlColor(HDC dc) {
  const TColor background = BackgroundColor();
  SetBkColor(dc, ColorToRGB(background));
  SetTextColor(dc, ColorToRGB(Font().Color));
  return BrushFor(background);
}

}  // namespace ui
