#include "ui/Graphics.h"

#include <cstring>
#include <iterator>

namespace ui {

COLORREF ColorToRGB(TColor color) {
  if (color & kSystemColorFlag) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

bool ColorFromName(const std::string& name, TColor& color) {
  static const struct {
    const char* name;
    TColor color;
  } kNames[] = {
      {"clBlack", clBlack},         {"clMaroon", clMaroon},
      {"clGreen", clGreen},         {"clOlive", clOlive},
      {"clNavy", clNavy},           {"clPurple", clPurple},
      {"clTeal", clTeal},           {"clGray", clGray},
      {"clSilver", clSilver},       {"clRed", clRed},
      {"clLime", clLime},           {"clYellow", clYellow},
      {"clBlue", clBlue},           {"clFuchsia", clFuchsia},
      {"clAqua", clAqua},           {"clWhite", clWhite},
      {"clBtnFace", clBtnFace},     {"clBtnShadow", clBtnShadow},
      {"clBtnHighlight", clBtnHighlight}, {"clBtnText", clBtnText},
      {"clWindow", clWindow},       {"clWindowText", clWindowText},
      {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
      {"clGrayText", clGrayText},
  };
  for (const auto& entry : kNames) {
    if (name == entry.name) {
      color = entry.color;
      return true;
    }
  }
  return false;
}

void TFont::SetSize(int points) { Height = -MulDiv(points, 96, 72); }

HFONT TFont::Create() const {
  LOGFONTA lf{};
  lf.lfHeight = Height;
  lf.lfWeight = (Style & static_cast<unsigned>(TFontStyle::Bold)) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (Style & static_cast<unsigned>(TFontStyle::Italic)) ? TRUE : FALSE;
  lf.lfUnderline = (Style & static_cast<unsigned>(TFontStyle::Underline)) ? TRUE : FALSE;
  lf.lfStrikeOut = (Style & static_cast<unsigned>(TFontStyle::StrikeOut)) ? TRUE : FALSE;
  lf.lfCharSet = Charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  std::strncpy(lf.lfFaceName, Name.c_str(), std::size(lf.lfFaceName) - 1);
  return CreateFontIndirectA(&lf);
}

}  // namespace ui
