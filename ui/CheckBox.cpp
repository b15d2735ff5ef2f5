#include "ui/CheckBox.h"

#include <commctrl.h>

#include <algorithm>

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
  if (!HandleAllocated()) return;
  // The layout's width at the DPI, or what the caption needs in the font at the DPI where
  // that is more: the width follows from the caption, the font and the DPI alone.
  int width = Scale(DesignBounds().Width);
  SIZE ideal{};  // the box, its gap and the caption, as the control measures them
  if (!(Dpi() == kDesignDpi && layoutCaption_) &&
      SendMessageW(Handle(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal))) {
    // A tenth to spare: the text may be drawn wider than measured, and another system's
    // font wider still.
    width = std::max(width, static_cast<int>(ideal.cx + ideal.cx / 10));
  }
  if (width != Width()) PlaceAt(Left(), Top(), width, Height());
}

HBRUSH TCheckBox::CtlColor(HDC dc) {
  const TColor background = BackgroundColor();
  SetBkColor(dc, ColorToRGB(background));
  SetTextColor(dc, ColorToRGB(Font().Color));
  return BrushFor(background);
}

}  // namespace ui
