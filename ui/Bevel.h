// A lowered bevel drawn on the parent's background: a box (bsBox: shadow along the top and
// left, highlight along the bottom and right) or a line along its left side (bsLeftLine:
// a shadow column, then a highlight column).
#pragma once

#include "ui/Control.h"

namespace ui {

class TBevel : public TControl {
 public:
  explicit TBevel(TWinControl* parent);
  const char* ClassName() const override { return "TBevel"; }

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void PaintControl(HDC dc) override;

 private:
  bool leftLine_ = false;  // bsLeftLine, else bsBox
};

}  // namespace ui
