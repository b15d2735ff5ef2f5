// A bevel: lines or a box in the 3-D shadow and highlight colours, drawn on the
// parent's background.
#pragma once

#include "ui/Control.h"

namespace ui {

// bsBox: the whole edge; bsFrame: an etched frame; the lines run along one side.
enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
// bsLowered: shadow first (top or left), highlight beside it; bsRaised the other way round.
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TControl {
 public:
  explicit TBevel(TWinControl* parent);
  const char* ClassName() const override { return "TBevel"; }

  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape shape);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle style);

  TColor BackgroundColor() const override;
  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc);

  TBevelShape shape_ = TBevelShape::bsBox;
  TBevelStyle style_ = TBevelStyle::bsLowered;
};

}  // namespace ui
