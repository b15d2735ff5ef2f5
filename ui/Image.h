// A bitmap drawn at the top-left corner of the control on its parent's background,
// clipped to the control. The picture loaded is its 96-DPI size; at another DPI it is
// drawn scaled, from the program's bitmap resource of the nearest drawn size where one is
// named (ScaledPicture = 'LOGO': resources LOGO_150 and LOGO_200).
#pragma once

#include <string>

#include "ui/Control.h"

namespace ui {

class TImage : public TControl {
 public:
  explicit TImage(TWinControl* parent);
  const char* ClassName() const override { return "TImage"; }

  // Loads a bitmap file (.bmp) and shows it; false when it cannot be loaded (the previous
  // picture stays).
  bool LoadFromFile(const std::string& path);
  // The bitmap's size; 0 x 0 without one.
  SIZE PictureSize() const;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void PaintControl(HDC dc) override;

 private:
  inst::UniqueBitmap bitmap_;
  TDrawnSizes scaledPicture_;  // the larger drawn sizes, from ScaledPicture
};

}  // namespace ui
