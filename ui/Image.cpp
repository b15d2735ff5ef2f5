#include "ui/Image.h"

#include <stdexcept>

#include "instutils/Widen.h"
#include "ui/LayoutReader.h"

namespace ui {

TImage::TImage(TWinControl* parent) : TControl(parent) {
  InitDrawn();
  SetBounds(0, 0, 105, 105);
}

void TImage::LoadFromFile(const std::string& path) {
  HANDLE image = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  if (!image) throw std::runtime_error("Cannot load the picture \"" + path + "\".");
  bitmap_.reset(image);
  Invalidate();
}

namespace {
SIZE BitmapSize(HGDIOBJ bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}
}  // namespace

SIZE TImage::PictureSize() const { return BitmapSize(bitmap_.get()); }

HGDIOBJ TImage::SourceBitmap() {
  const int scale = scaledPicture_.empty() ? 100 : NearestPictureScale(Dpi());
  if (scale == 100) return bitmap_.get();
  if (scaledFor_ != scale) {
    scaledBitmap_.reset(LoadBitmapA(GetModuleHandleA(nullptr), ScaledPictureName(scaledPicture_, scale).c_str()));
    scaledFor_ = scale;
  }
  return scaledBitmap_ ? scaledBitmap_.get() : bitmap_.get();
}

void TImage::PaintControl(HDC dc) {
  if (!bitmap_) return;
  const SIZE size = PictureSize();
  HGDIOBJ bitmap = SourceBitmap();
  const SIZE source = BitmapSize(bitmap);
  const int width = Scale(size.cx), height = Scale(size.cy);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  if (source.cx == width && source.cy == height) {
    BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
  } else {  // no drawn size fits: the nearest one, smoothly stretched
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, width, height, memory, 0, 0, source.cx, source.cy, SRCCOPY);
  }
  SelectObject(memory, old);
  DeleteDC(memory);
}

bool TImage::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name != "ScaledPicture") return TControl::SetProperty(name, value, reader);
  scaledPicture_ = inst::Narrow(value.AsString());  // a resource name
  return true;
}

}  // namespace ui
