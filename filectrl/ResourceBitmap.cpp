#include "filectrl/ResourceBitmap.h"

namespace filectrl {

TResourceBitmap::TResourceBitmap(const char* resourceName)
    : base_(LoadBitmapA(GetModuleHandleA(nullptr), resourceName)), sizes_(resourceName) {
  designSize_ = ui::BitmapSize(base_.get());
  width_ = designSize_.cx;
  height_ = designSize_.cy;
  Use(base_.get());
}

void TResourceBitmap::Use(HBITMAP bitmap) {
  drawn_ = bitmap;
  source_ = ui::BitmapSize(bitmap);
  if (!bitmap) return;
  const ui::TMemoryDC memory(nullptr);
  const ui::TSelected selected(memory.get(), bitmap);
  transparent_ = GetPixel(memory.get(), 0, source_.cy - 1);
}

void TResourceBitmap::SetDpi(int dpi) {
  if (!base_) return;
  const HBITMAP larger = sizes_.Nearest(dpi);
  Use(larger ? larger : base_.get());
  width_ = MulDiv(designSize_.cx, dpi, ui::kDesignDpi);
  height_ = MulDiv(designSize_.cy, dpi, ui::kDesignDpi);
}

void TResourceBitmap::Draw(HDC dc, int x, int y) const {
  if (!drawn_) return;
  const ui::TMemoryDC memory(dc);
  const ui::TSelected selected(memory.get(), drawn_);
  // gdi32's own transparent copy (it stretches too): msimg32.dll, which also offers it,
  // is not a known DLL.
  GdiTransparentBlt(dc, x, y, width_, height_, memory.get(), 0, 0, source_.cx, source_.cy, transparent_);
}

}  // namespace filectrl
