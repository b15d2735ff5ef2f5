#include "filectrl/ResourceBitmap.h"

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

TResourceBitmap::TResourceBitmap(const char* resourceName)
    : bitmap_(LoadBitmapA(GetModuleHandleA(nullptr), resourceName)) {
  BITMAP info{};
  if (!bitmap_ || !GetObjectA(bitmap_.get(), sizeof info, &info)) return;
  width_ = info.bmWidth;
  height_ = info.bmHeight;
  const TBitmapDC source(nullptr, static_cast<HBITMAP>(bitmap_.get()));
  transparent_ = GetPixel(source.get(), 0, height_ - 1);
}

void TResourceBitmap::Draw(HDC dc, int x, int y) const {
  if (!bitmap_) return;
  const TBitmapDC source(dc, static_cast<HBITMAP>(bitmap_.get()));
  // gdi32's own transparent copy: msimg32.dll, which also offers it, is not a known DLL.
  GdiTransparentBlt(dc, x, y, width_, height_, source.get(), 0, 0, width_, height_, transparent_);
}

}  // namespace filectrl
