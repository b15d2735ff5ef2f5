#include "ui/Image.h"

#include <stdexcept>

#include "ui/WinControl.h"

namespace ui {

TImage::TImage(TWinControl* parent) : TControl(parent) { SetBounds(0, 0, 105, 105); }

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

TColor TImage::BackgroundColor() const {
  return Parent() ? Parent()->BackgroundColor() : Color();
}

void TImage::Paint(HDC dc) {
  FillBackground(dc, BackgroundColor());
  if (!bitmap_) return;
  const SIZE size = PictureSize();
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap_.get());
  BitBlt(dc, 0, 0, size.cx, size.cy, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

LRESULT TImage::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      Paint(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    default:
      return TControl::WndProc(msg, wParam, lParam);
  }
}

}  // namespace ui
