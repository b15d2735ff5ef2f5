#include "ui/Label.h"

#include "ui/LayoutReader.h"

namespace ui {

TLabel::TLabel(TWinControl* parent) : TControl(parent) {
  SetBounds(0, 0, 65, 17);
}

TControl* TLabel::MnemonicTarget(wchar_t key) {
  const bool reached = CanFocus() && MnemonicOf(Caption()) == key;
  return reached && focusControl_ && focusControl_->CanFocus() ? focusControl_ : nullptr;
}

UINT TLabel::DrawFlags() const {
  return DT_LEFT | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0);
}

void TLabel::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || Loading()) return;
  // An empty caption is measured as one blank, so the label keeps a line's height.
  std::wstring text = Caption();
  if (text.empty() || text == L"&") text += L' ';
  // A wrapped text is measured at the layout's width, so the size depends on the DPI only.
  RECT r{0, 0, wordWrap_ ? Scale(DesignBounds().Width) : 0, 0};
  const TWindowDC screen;
  const TSelected font(screen.get(), FontHandle());
  DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
  PlaceAt(Left(), Top(), r.right, r.bottom);
}

void TLabel::Loaded() {
  TControl::Loaded();
  AdjustBounds();
}

void TLabel::FontChanged() {
  TControl::FontChanged();
  AdjustBounds();
}

void TLabel::CaptionChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.WindowClass = L"STATIC";
  params.Style |= wordWrap_ ? SS_LEFT : SS_LEFTNOWORDWRAP;
}

HBRUSH TLabel::CtlColor(HDC dc) {
  // The parent's background shows through the label, as it did behind a drawn text.
  const TColor background = BackgroundColor();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color : clGrayText));
  return BrushFor(background);
}

bool TLabel::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name == "AutoSize") {
    autoSize_ = value.AsBoolean();
  } else if (name == "WordWrap") {
    wordWrap_ = value.AsBoolean();
  } else if (name == "FocusControl") {
    reader.ResolveLater(value, [this](TControl* c) { focusControl_ = c; });
  } else {
    return TControl::SetProperty(name, value, reader);
  }
  return true;
}

}  // namespace ui
