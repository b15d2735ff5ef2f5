#include "ui/Graphics.h"

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "instutils/PackedResource.h"

namespace ui {

COLORREF ColorToRGB(TColor color) {
  if (color & kSystemColorFlag) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

bool ColorFromName(const std::string& name, TColor& color) {
  if (name == "clNavy") color = clNavy;
  else if (name == "clWhite") color = clWhite;
  else return false;
  return true;
}

namespace {

int NearestPictureScale(int dpi) {
  const int percent = MulDiv(dpi, 100, kDesignDpi);
  int best = 100;
  for (int scale : {150, 200}) {
    if (std::abs(percent - scale) <= std::abs(percent - best)) best = scale;
  }
  return best;
}

// A bitmap for the screen from the bytes of a .bmp file, as LoadBitmap makes one from a
// bitmap resource; null for none.
HBITMAP ScreenBitmap(const payload::TInflatedBytes& file) {
  BITMAPFILEHEADER head;
  if (file.size() < sizeof head + sizeof(BITMAPINFOHEADER)) return nullptr;
  std::memcpy(&head, file.data(), sizeof head);
  if (head.bfOffBits <= sizeof head || head.bfOffBits >= file.size()) return nullptr;
  // The header and the colour table, copied to where a BITMAPINFO may be read from.
  std::vector<DWORD> info((head.bfOffBits - sizeof head + sizeof(DWORD) - 1) / sizeof(DWORD));
  std::memcpy(info.data(), file.data() + sizeof head, head.bfOffBits - sizeof head);
  const auto* bitmapInfo = reinterpret_cast<const BITMAPINFO*>(info.data());
  const TWindowDC screen;
  return CreateDIBitmap(screen.get(), &bitmapInfo->bmiHeader, CBM_INIT, file.data() + head.bfOffBits,
                        bitmapInfo, DIB_RGB_COLORS);
}

}  // namespace

HBITMAP TDrawnSizes::Nearest(int dpi) {
  const int scale = name_.empty() ? 100 : NearestPictureScale(dpi);
  if (scale == 100) return nullptr;
  if (scale_ != scale) {
    const std::string name = name_ + "_" + std::to_string(scale);
    bitmap_.reset(ScreenBitmap(inst::PackedResource(name.c_str())));
    scale_ = scale;
  }
  return bitmap_.get();
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

inst::UniqueFont TFont::Create(int dpi) const {
  LOGFONTW lf{};
  lf.lfHeight = MulDiv(Height, dpi, kDesignDpi);
  lf.lfWeight = (Style & static_cast<unsigned>(TFontStyle::Bold)) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (Style & static_cast<unsigned>(TFontStyle::Italic)) ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  Name.copy(lf.lfFaceName, std::size(lf.lfFaceName) - 1);
  return inst::UniqueFont(CreateFontIndirectW(&lf));
}

}  // namespace ui
