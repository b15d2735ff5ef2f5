#include "ui/Panel.h"

#include "ui/LayoutReader.h"

namespace ui {

void Frame3D(HDC dc, RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
  auto fill = [dc](int l, int t, int r, int b, COLORREF color) {
    if (r <= l || b <= t) return;
    const RECT area{l, t, r, b};
    SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
  };
  const int l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
  fill(l, t, r, t + 1, topLeft);          // top row, short of the top-right pixel
  fill(l, t, l + 1, b, topLeft);          // left column, short of the bottom-left pixel
  fill(r, t, r + 1, b + 1, bottomRight);  // right column
  fill(l, b, r + 1, b + 1, bottomRight);  // bottom row
  InflateRect(&rect, -1, -1);
}

TPanel::TPanel(TWinControl* parent) : TWinControl(parent) { SetBounds(0, 0, 185, 41); }

void TPanel::SetBevelOuter(TPanelBevel bevel) {
  bevelOuter_ = bevel;
  Invalidate();
  AlignControls();
}

void TPanel::SetBevelInner(TPanelBevel bevel) {
  bevelInner_ = bevel;
  Invalidate();
  AlignControls();
}

void TPanel::SetBevelWidth(int width) {
  bevelWidth_ = width;
  Invalidate();
  AlignControls();
}

RECT TPanel::AlignRect() {
  RECT r = ClientRect();
  int inset = 0;
  if (bevelOuter_ != TPanelBevel::bvNone) inset += bevelWidth_;
  if (bevelInner_ != TPanelBevel::bvNone) inset += bevelWidth_;
  InflateRect(&r, -inset, -inset);
  return r;
}

void TPanel::PaintBevels(HDC dc) {
  RECT r = ClientRect();
  const COLORREF shadow = ColorToRGB(clBtnShadow);
  const COLORREF highlight = ColorToRGB(clBtnHighlight);
  for (TPanelBevel bevel : {bevelOuter_, bevelInner_}) {
    if (bevel == TPanelBevel::bvNone) continue;
    for (int i = 0; i < bevelWidth_; ++i) {
      if (bevel == TPanelBevel::bvLowered) {
        Frame3D(dc, r, shadow, highlight);
      } else {
        Frame3D(dc, r, highlight, shadow);
      }
    }
  }
}

LRESULT TPanel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    PaintBevels(dc);
    EndPaint(Handle(), &ps);
    return 0;
  }
  return TWinControl::WndProc(msg, wParam, lParam);
}

bool TPanel::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name == "BevelOuter") {
    SetBevelOuter(static_cast<TPanelBevel>(value.AsEnum({"bvNone", "bvLowered", "bvRaised"})));
  } else if (name == "BevelInner") {
    SetBevelInner(static_cast<TPanelBevel>(value.AsEnum({"bvNone", "bvLowered", "bvRaised"})));
  } else if (name == "BevelWidth") {
    SetBevelWidth(value.AsInteger());
  } else {
    return TWinControl::SetProperty(name, value, reader);
  }
  return true;
}

}  // namespace ui
