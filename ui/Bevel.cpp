#include "ui/Bevel.h"

#include "ui/LayoutReader.h"

namespace ui {

namespace {

void Pixels(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  if (right <= left || bottom <= top) return;
  const RECT r{left, top, right, bottom};
  SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

}  // namespace

TBevel::TBevel(TWinControl* parent) : TControl(parent) {
  InitDrawn();
  SetBounds(0, 0, 50, 50);
}

void TBevel::PaintControl(HDC dc) {
  const COLORREF shadow = ColorToRGB(clBtnShadow);
  const COLORREF highlight = ColorToRGB(clBtnHighlight);
  const int w = Width(), h = Height();
  if (leftLine_) {
    Pixels(dc, 0, 0, 1, h, shadow);
    Pixels(dc, 1, 0, 2, h, highlight);
    return;
  }
  // The outline: top and left in shadow, right and bottom in highlight; the bottom-left
  // pixel is shadow, the top-right one highlight.
  Pixels(dc, 0, 0, 1, h, shadow);
  Pixels(dc, 0, 0, w - 1, 1, shadow);
  Pixels(dc, w - 1, 0, w, h, highlight);
  Pixels(dc, 1, h - 1, w, h, highlight);
}

bool TBevel::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name != "Shape") return TControl::SetProperty(name, value, reader);
  leftLine_ = value.AsEnum({"bsBox", "bsLeftLine"}) == 1;
  return true;
}

}  // namespace ui
