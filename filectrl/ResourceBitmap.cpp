#include "filectrl/ResourceBitmap.h"

#include <utility>

#include "ui/Graphics.h"

namespace filectrl {
namespace {

// A memory device context with one bitmap selected, deselected again at the end.
class TBitmapDC {
 public:
  TBitmapDC(HDC compatible, HBITMAP bitmap)
      : dc_(CreateCompatibleDC(compatible)), old_(dc_ ? SelectObject(dc_, bitmap) : nullptr) {}
  ~TBitmapDC() {
    if (!dc_) return;
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  TBitmapDC(const TBitmapDC&) = delete;
  TBitmapDC& operator=(const TBitmapDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace

TResourceBitmap::TResourceBitmap(const char* resourceName) : name_(resourceName) {
  if (!LoadSource(name_)) return;
  designSize_ = source_;
  width_ = source_.cx;
  height_ = source_.cy;
}

bool TResourceBitmap::LoadSource(const std::string& name) {
  inst::UniqueGdiObject bitmap(LoadBitmapA(GetModuleHandleA(nullptr), name.c_str()));
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap.get(), sizeof info, &info)) return false;
  bitmap_ = std::move(bitmap);
  source_ = {info.bmWidth, info.bmHeight};
  const TBitmapDC source(nullptr, static_cast<HBITMAP>(bitmap_.get()));
  transparent_ = GetPixel(source.get(), 0, source_.cy - 1);
  return true;
}

void TResourceBitmap::SetDpi(int dpi) {
  if (!bitmap_) return;
  const int scale = ui::NearestPictureScale(dpi);
  if (!LoadSource(ui::ScaledPictureName(name_, scale))) LoadSource(name_);
  width_ = MulDiv(designSize_.cx, dpi, ui::kDesignDpi);
  height_ = MulDiv(designSize_.cy, dpi, ui::kDesignDpi);
}

void TResourceBitmap::Draw(HDC dc, int x, int y) const {
  if (!bitmap_) return;
  const TBitmapDC source(dc, static_cast<HBITMAP>(bitmap_.get()));
  // gdi32's own transparent copy (it stretches too): msimg32.dll, which also offers it,
  // is not a known DLL.
  GdiTransparentBlt(dc, x, y, width_, height_, source.get(), 0, 0, source_.cx, source_.cy, transparent_);
}

}  // namespace filectrl
