// A container that paints its background and up to two bevels around its edge: the
// outer one, then the inner one inside it, each BevelWidth pixels wide.
#pragma once

#include "ui/WinControl.h"

namespace ui {

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
 public:
  explicit TPanel(TWinControl* parent);
  const char* ClassName() const override { return "TPanel"; }

  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel bevel);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel bevel);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int width);

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  RECT AlignRect() override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void PaintBevels(HDC dc);

  TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
  TPanelBevel bevelInner_ = TPanelBevel::bvNone;
  int bevelWidth_ = 1;
};

// Draws a one-pixel 3-D frame on the inside of rect (top and left in topLeft, bottom
// and right in bottomRight) and shrinks rect by that pixel.
void Frame3D(HDC dc, RECT& rect, COLORREF topLeft, COLORREF bottomRight);

}  // namespace ui
