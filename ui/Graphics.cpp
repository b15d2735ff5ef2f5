#include "ui/Graphics.h"

#include <cstdlib>
#include <iterator>

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

}  // namespace

HBITMAP TDrawnSizes::Nearest(int dpi) {
  const int scale = name_.empty() ? 100 : NearestPictureScale(dpi);
  if (scale == 100) return nullptr;
  if (scale_ != scale) {
    const std::string name = name_ + "_" + std::to_string(scale);
    bitmap_.reset(LoadBitmapA(GetModuleHandleA(nullptr), name.c_str()));
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
