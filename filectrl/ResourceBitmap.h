// A bitmap resource of the program whose bottom-left pixel gives the colour that is
// left out when it is drawn (the folder and drive pictures).
#pragma once

#include <windows.h>

#include "instutils/Handles.h"

namespace filectrl {

class TResourceBitmap {
 public:
  // Loads the named bitmap resource of the program's own module; a missing resource
  // gives an empty bitmap that draws nothing.
  explicit TResourceBitmap(const char* resourceName);

  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF TransparentColor() const { return transparent_; }

  // Draws the bitmap with its top-left corner at x, y, its transparent colour left out.
  void Draw(HDC dc, int x, int y) const;

 private:
  inst::UniqueGdiObject bitmap_;
  int width_ = 0;
  int height_ = 0;
  COLORREF transparent_ = 0;
};

}  // namespace filectrl
