#include "ui/Panel.h"

#include "ui/LayoutReader.h"

namespace ui {

namespace {

// Draws a one-pixel 3-D frame on the inside of rect (top and left in topLeft, bottom and
// right in bottomRight) and shrinks rect by that pixel.
void Frame3D(HDC dc, RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
  auto fill = [dc](int l, int t, int r, int b, COLORREF color) {
    if (r <= l || b <= t) return;
    const RECT area{l, t, r, b};
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
  };
  const int l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
  fill(l, t, r, t + 1, topLeft);          // top row, short of the top-right pixel
  fill(l, t, l + 1, b, topLeft);          // left column, short of the bottom-left pixel
  fill(r, t, r + 1, b + 1, bottomRight);  // right column
  fill(l, b, r + 1, b + 1, bottomRight);  // bottom row
  InflateRect(&rect, -1, -1);
}

}  // namespace

TPanel::TPanel(TWinControl* parent) : TWinControl(parent) { SetBounds(0, 0, 185, 41); }

RECT TPanel::AlignRect() {
  RECT r = ClientRect();
  const int inset = (bevelOuter_ != TPanelBevel::bvNone) + (bevelInner_ != TPanelBevel::bvNone);
  InflateRect(&r, -inset, -inset);
  return r;
}

void TPanel::PaintControl(HDC dc) {
  RECT r = ClientRect();
  const COLORREF shadow = ColorToRGB(clBtnShadow);
  const COLORREF highlight = ColorToRGB(clBtnHighlight);
  for (TPanelBevel bevel : {bevelOuter_, bevelInner_}) {
    if (bevel == TPanelBevel::bvLowered) Frame3D(dc, r, shadow, highlight);
    if (bevel == TPanelBevel::bvRaised) Frame3D(dc, r, highlight, shadow);
  }
}

bool TPanel::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name != "BevelOuter" && name != "BevelInner") return TWinControl::SetProperty(name, value, reader);
  const auto bevel = static_cast<TPanelBevel>(value.AsEnum({"bvNone", "bvLowered", "bvRaised"}));
  (name == "BevelOuter" ? bevelOuter_ : bevelInner_) = bevel;
  return true;
}

}  // namespace ui
