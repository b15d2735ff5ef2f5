#include "ui/CheckBox.h"

#include <commctrl.h>

#include "ui/LayoutReader.h"

namespace ui {

TCheckBox::TCheckBox(TWinControl* parent) : TControl(parent) {
  InitTabStop(true);
  SetBounds(0, 0, 97, 17);
}

bool TCheckBox::Checked() const {
  if (HandleAllocated()) {
    checked_ = SendMessageW(const_cast<TCheckBox*>(this)->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  return checked_;
}

void TCheckBox::SetChecked(bool checked) {
  checked_ = checked;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::Click() { SendMessageW(Handle(), BM_CLICK, 0, 0); }

TControl* TCheckBox::MnemonicTarget(wchar_t key) {
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
  params.WindowClass = L"BUTTON";
  params.Style |= BS_AUTOCHECKBOX;
}

void TCheckBox::CreateWnd() {
  TControl::CreateWnd();
  SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
  FitCaption();
}

void TCheckBox::ChangeScale(int multiplier, int divisor) {
  // The layout's width is what scales; the caption's need is measured again afterwards.
  SetBounds(Left(), Top(), Width() - widened_, Height());
  widened_ = 0;
  TControl::ChangeScale(multiplier, divisor);
}

void TCheckBox::FontChanged() {
  TControl::FontChanged();
  FitCaption();
}

void TCheckBox::CaptionChanged() {
  TControl::CaptionChanged();
  if (Loading()) return;
  layoutCaption_ = false;
  FitCaption();
}

void TCheckBox::FitCaption() {
  if (!HandleAllocated() || (Dpi() == kDesignDpi && layoutCaption_)) return;
  SIZE ideal{};  // the box, its gap and the caption, as the control measures them
  if (!SendMessageW(Handle(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal))) return;
  // A tenth to spare: the text may be drawn wider than measured, and another system's
  // font wider still.
  const int needed = ideal.cx + ideal.cx / 10;
  if (needed <= Width()) return;
  widened_ += needed - Width();
  SetBounds(Left(), Top(), needed, Height());
}

HBRUSH TCheckBox::CtlColor(HDC dc) {
  const TColor background = BackgroundColor();
  SetBkColor(dc, ColorToRGB(background));
  SetTextColor(dc, ColorToRGB(Font().Color));
  return BrushFor(background);
}

}  // namespace ui
