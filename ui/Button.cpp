#include "ui/Button.h"

#include "ui/Form.h"
#include "ui/LayoutReader.h"

namespace ui {

TButton::TButton(TWinControl* parent) : TControl(parent) {
  InitTabStop(true);
  SetBounds(0, 0, 75, 25);
}

TButton::~TButton() {
  // The form may already be gone (it deletes its children last); ParentForm is then null.
  if (TForm* form = ParentForm()) {
    if (form->defaultButton_ == this) form->defaultButton_ = nullptr;
    if (form->cancelButton_ == this) form->cancelButton_ = nullptr;
  }
}

void TButton::SetDefault(bool value) {
  default_ = value;
  if (TForm* form = ParentForm()) {
    if (value) {
      form->defaultButton_ = this;
    } else if (form->defaultButton_ == this) {
      form->defaultButton_ = nullptr;
    }
  }
  SetDefaultLook(value);
}

void TButton::SetCancel(bool value) {
  if (TForm* form = ParentForm()) {
    if (value) {
      form->cancelButton_ = this;
    } else if (form->cancelButton_ == this) {
      form->cancelButton_ = nullptr;
    }
  }
}

void TButton::Click() {
  if (OnClick) OnClick(this);
}

TControl* TButton::MnemonicTarget(wchar_t key) {
  return CanFocus() && MnemonicOf(Caption()) == key ? this : nullptr;
}

void TButton::SetDefaultLook(bool look) {
  if (!HandleAllocated()) return;
  const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  const bool has = (style & 0x0F) == BS_DEFPUSHBUTTON;
  if (has != look) SendMessageW(Handle(), BM_SETSTYLE, look ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool TButton::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name == "Default") {
    SetDefault(value.AsBoolean());
  } else if (name == "Cancel") {
    SetCancel(value.AsBoolean());
  } else if (name == "OnClick") {
    OnClick = reader.NotifyHandler(value);
  } else {
    return TControl::SetProperty(name, value, reader);
  }
  return true;
}

void TButton::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.WindowClass = L"BUTTON";
  params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CommandNotify(WORD code) {
  // A click posted to a button set hidden or disabled (BM_CLICK works on any) does nothing.
  if (code == BN_CLICKED && Visible() && Enabled()) Click();
}

HBRUSH TButton::CtlColor(HDC) {
  // The corners around a push button show the parent's background.
  return BrushFor(BackgroundColor());
}

}  // namespace ui
