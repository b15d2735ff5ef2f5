// A bitmap drawn at the top-left corner of the control on its parent's background,
// clipped to the control.
#pragma once

#include <string>

#include "ui/Control.h"

namespace ui {

class TImage : public TControl {
 public:
  explicit TImage(TWinControl* parent);
  const char* ClassName() const override { return "TImage"; }

  // Loads a bitmap file (.bmp) and shows it. Throws std::runtime_error naming the file
  // when it cannot be loaded; the previous picture stays.
  void LoadFromFile(const std::string& path);
  // The bitmap's size; 0 x 0 without one.
  SIZE PictureSize() const;

 protected:
  void PaintControl(HDC dc) override;

 private:
  inst::UniqueGdiObject bitmap_;
};

}  // namespace ui
