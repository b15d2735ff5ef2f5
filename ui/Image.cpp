#include "ui/Image.h"

#include "instutils/Widen.h"
#include "ui/LayoutReader.h"

namespace ui {

TImage::TImage(TWinControl* parent) : TControl(parent) {
  InitDrawn();
  SetBounds(0, 0, 105, 105);
}

bool TImage::LoadFromFile(const std::string& path) {
  HANDLE image = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  if (!image) return false;
  bitmap_.reset(static_cast<HBITMAP>(image));
  Invalidate();
  return true;
}

SIZE TImage::PictureSize() const { return BitmapSize(bitmap_.get()); }

void TImage::PaintControl(HDC dc) {
  if (!bitmap_) return;
  const SIZE size = PictureSize();
  const HBITMAP larger = scaledPicture_.Nearest(Dpi());
  const HBITMAP bitmap = larger ? larger : bitmap_.get();
  const SIZE source = BitmapSize(bitmap);
  const int width = Scale(size.cx), height = Scale(size.cy);
  const TMemoryDC memory(dc);
  const TSelected selected(memory.get(), bitmap);
  if (source.cx == width && source.cy == height) {
    BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
  } else {  // no drawn size fits: the nearest one, smoothly stretched
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, width, height, memory.get(), 0, 0, source.cx, source.cy, SRCCOPY);
  }
}

bool TImage::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name != "ScaledPicture") return TControl::SetProperty(name, value, reader);
  scaledPicture_ = TDrawnSizes(inst::Narrow(value.AsString()));  // a resource name
  return true;
}

}  // namespace ui
