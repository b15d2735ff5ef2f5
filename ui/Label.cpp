#include "ui/Label.h"

#include "ui/LayoutReader.h"
#include "ui/WinControl.h"

namespace ui {

char MnemonicOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // "&&" shows one "&"
      continue;
    }
    char c = caption[i + 1];
    CharLowerBuffA(&c, 1);
    return c;
  }
  return 0;
}

TLabel::TLabel(TWinControl* parent) : TControl(parent) { SetBounds(0, 0, 65, 17); }

char TLabel::Mnemonic() const { return MnemonicOf(Caption()); }

void TLabel::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool wordWrap) {
  wordWrap_ = wordWrap;
  AdjustBounds();
  Invalidate();
}

TColor TLabel::BackgroundColor() const {
  return Parent() ? Parent()->BackgroundColor() : Color();
}

UINT TLabel::DrawFlags() const {
  return DT_LEFT | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0);
}

void TLabel::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  if (!adjusting_) AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || adjusting_ || Loading()) return;
  // An empty caption is measured as one blank, so the label keeps a line's height.
  std::string text = Caption();
  if (text.empty() || text == "&") text += ' ';
  RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontHandle());
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  adjusting_ = true;
  SetBounds(Left(), Top(), r.right, r.bottom);
  adjusting_ = false;
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

LRESULT TLabel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // painted with the text
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      FillBackground(dc, BackgroundColor());
      RECT r;
      GetClientRect(Handle(), &r);
      HGDIOBJ old = SelectObject(dc, FontHandle());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color : clGrayText));
      const std::string& text = Caption();
      DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DrawFlags());
      SelectObject(dc, old);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks reach what lies below, as on a drawn text
    default:
      return TControl::WndProc(msg, wParam, lParam);
  }
}

bool TLabel::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name == "Caption") {
    SetCaption(value.AsString());
  } else if (name == "AutoSize") {
    SetAutoSize(value.AsBoolean());
  } else if (name == "WordWrap") {
    SetWordWrap(value.AsBoolean());
  } else if (name == "FocusControl") {
    reader.ResolveLater(value, [this](TControl* c) { SetFocusControl(c); });
  } else {
    return TControl::SetProperty(name, value, reader);
  }
  return true;
}

}  // namespace ui
