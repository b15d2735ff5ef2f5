#include "ui/Bevel.h"

#include "ui/LayoutReader.h"
#include "ui/WinControl.h"

namespace ui {

namespace {

void Pixels(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  if (right <= left || bottom <= top) return;
  const RECT r{left, top, right, bottom};
  SetBkColor(dc, color);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// The outline of a box from (l, t) to (r, b) inclusive: top and left in c1, right and
// bottom in c2; the bottom-left pixel takes c1 and the top-right pixel c2.
void BevelRect(HDC dc, int l, int t, int r, int b, COLORREF c1, COLORREF c2) {
  Pixels(dc, l, t, l + 1, b + 1, c1);      // left column
  Pixels(dc, l, t, r, t + 1, c1);          // top row
  Pixels(dc, r, t, r + 1, b + 1, c2);      // right column
  Pixels(dc, l + 1, b, r + 1, b + 1, c2);  // bottom row
}

}  // namespace

TBevel::TBevel(TWinControl* parent) : TControl(parent) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape shape) {
  shape_ = shape;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle style) {
  style_ = style;
  Invalidate();
}

TColor TBevel::BackgroundColor() const {
  return Parent() ? Parent()->BackgroundColor() : Color();
}

void TBevel::Paint(HDC dc) {
  FillBackground(dc, BackgroundColor());
  const COLORREF shadow = ColorToRGB(clBtnShadow);
  const COLORREF highlight = ColorToRGB(clBtnHighlight);
  const COLORREF c1 = style_ == TBevelStyle::bsLowered ? shadow : highlight;
  const COLORREF c2 = style_ == TBevelStyle::bsLowered ? highlight : shadow;
  const int w = Width(), h = Height();
  switch (shape_) {
    case TBevelShape::bsBox:
      BevelRect(dc, 0, 0, w - 1, h - 1, c1, c2);
      break;
    case TBevelShape::bsFrame:  // an etched line: two offset outlines
      BevelRect(dc, 1, 1, w - 1, h - 1, c2, c2);
      BevelRect(dc, 0, 0, w - 2, h - 2, c1, c1);
      break;
    case TBevelShape::bsTopLine:
      Pixels(dc, 0, 0, w, 1, c1);
      Pixels(dc, 0, 1, w, 2, c2);
      break;
    case TBevelShape::bsBottomLine:
      Pixels(dc, 0, h - 2, w, h - 1, c1);
      Pixels(dc, 0, h - 1, w, h, c2);
      break;
    case TBevelShape::bsLeftLine:
      Pixels(dc, 0, 0, 1, h, c1);
      Pixels(dc, 1, 0, 2, h, c2);
      break;
    case TBevelShape::bsRightLine:
      Pixels(dc, w - 2, 0, w - 1, h, c1);
      Pixels(dc, w - 1, 0, w, h, c2);
      break;
    case TBevelShape::bsSpacer:
      break;
  }
}

LRESULT TBevel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      Paint(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    default:
      return TControl::WndProc(msg, wParam, lParam);
  }
}

bool TBevel::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name == "Shape") {
    SetShape(static_cast<TBevelShape>(value.AsEnum({"bsBox", "bsFrame", "bsTopLine", "bsBottomLine",
                                                    "bsLeftLine", "bsRightLine", "bsSpacer"})));
  } else if (name == "Style") {
    SetStyle(static_cast<TBevelStyle>(value.AsEnum({"bsLowered", "bsRaised"})));
  } else {
    return TControl::SetProperty(name, value, reader);
  }
  return true;
}

}  // namespace ui
