#include "ui/Image.h"

#include <stdexcept>

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

SIZE TImage::PictureSize() const {
  BITMAP info{};
  if (!bitmap_ || !GetObjectA(bitmap_.get(), sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

void TImage::PaintControl(HDC dc) {
  if (!bitmap_) return;
  const SIZE size = PictureSize();
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap_.get());
  BitBlt(dc, 0, 0, size.cx, size.cy, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

}  // namespace ui
