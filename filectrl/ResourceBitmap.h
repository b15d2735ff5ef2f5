// A bitmap resource of the program whose bottom-left pixel gives the colour that is
// left out when it is drawn (the folder and drive pictures). It is drawn at its 96-DPI
// size scaled to a DPI, from the drawn size nearest that DPI (resources NAME, NAME_150,
// NAME_200); only the remainder is stretched.
#pragma once

#include <windows.h>

#include "instutils/Handles.h"
#include "ui/Graphics.h"

namespace filectrl {

class TResourceBitmap {
 public:
  // Loads the named bitmap resource of the program's own module; a missing resource
  // gives an empty bitmap that draws nothing.
  explicit TResourceBitmap(const char* resourceName);
  TResourceBitmap(const TResourceBitmap&) = delete;
  TResourceBitmap& operator=(const TResourceBitmap&) = delete;

  // Picks the drawn size for a DPI (96 until called).
  void SetDpi(int dpi);
  // The size drawn at the DPI.
  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF TransparentColor() const { return transparent_; }

  // Draws the bitmap with its top-left corner at x, y, its transparent colour left out.
  void Draw(HDC dc, int x, int y) const;

 private:
  // Draws from bitmap (owned by base_ or sizes_) and takes its transparent colour.
  void Use(HBITMAP bitmap);

  inst::UniqueBitmap base_;  // the 96-DPI picture
  ui::TDrawnSizes sizes_;    // its larger drawn sizes
  HBITMAP drawn_ = nullptr;  // the one drawn at the DPI
  SIZE source_{};            // the drawn one's own size
  SIZE designSize_{};        // the size at 96 DPI
  int width_ = 0;
  int height_ = 0;
  COLORREF transparent_ = 0;
};

}  // namespace filectrl
