// Colours and fonts of the widget layer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace ui {

// A colour: either 0x00BBGGRR, or a system colour (0x80000000 | COLOR_xxx index).
using TColor = std::int32_t;

inline constexpr TColor kSystemColorFlag = static_cast<TColor>(0x80000000u);
constexpr TColor SystemColor(int index) { return kSystemColorFlag | index; }

inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
inline constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
inline constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
inline constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
inline constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
inline constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
inline constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
inline constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);

// The RGB value a colour stands for now (system colours are looked up).
COLORREF ColorToRGB(TColor color);
// The colour with the name used in layouts (clNavy, clWhite); false for another name.
bool ColorFromName(const std::string& name, TColor& color);

// Layouts, fonts and pictures are designed at 96 pixels per inch.
inline constexpr int kDesignDpi = 96;

// Pictures are drawn at 100, 150 and 200 percent of their 96-DPI size. The one nearest a
// DPI in percent (the larger on a tie, since shrinking keeps more detail than growing).
int NearestPictureScale(int dpi);
// The resource name of a picture at a drawn scale: "LOGO" at 100, "LOGO_150" at 150.
std::string ScaledPictureName(const std::string& name, int scale);

enum class TFontStyle : unsigned { Bold = 1, Italic = 2 };
using TFontStyles = unsigned;  // TFontStyle bits

// The description of a font. Height is the character height in pixels when negative
// (the cell height when positive), as in a LOGFONT.
struct TFont {
  std::wstring Name = L"MS Shell Dlg 2";
  int Height = -11;  // 8 points at 96 pixels per inch
  TFontStyles Style = 0;
  TColor Color = clWindowText;

  bool operator==(const TFont&) const = default;
  // A new GDI font for this description (default character set); the caller owns it.
  HFONT Create() const;
};

}  // namespace ui
