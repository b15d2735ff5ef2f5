// Colours and fonts of the widget layer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "instutils/Handles.h"

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

// Pictures are drawn at 100, 150 and 200 percent of their 96-DPI size: the program's
// bitmap resource NAME, and NAME_150 and NAME_200, .bmp files stored packed
// (inst::PackedResource), since only a display with a larger scale reads them. This picks,
// for every picture drawn, the larger drawn size nearest a DPI (the larger on a tie, since
// shrinking keeps more detail than growing); only the remainder is stretched.
class TDrawnSizes {
 public:
  explicit TDrawnSizes(std::string name = {}) : name_(std::move(name)) {}
  // The drawn size nearest dpi when that is 150 or 200 percent and the program holds it,
  // loaded once per scale; null otherwise (the 96-DPI picture is drawn, stretched).
  HBITMAP Nearest(int dpi);

 private:
  std::string name_;
  inst::UniqueBitmap bitmap_;
  int scale_ = 100;  // the drawn scale of bitmap_
};

// The size of a bitmap; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);

// A window's device context (GetDC; the screen's for a null window), released with it.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  ~TWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory device context compatible with dc (the screen for null), deleted with it.
class TMemoryDC {
 public:
  explicit TMemoryDC(HDC dc) : dc_(CreateCompatibleDC(dc)) {}
  ~TMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Selects a font, brush or bitmap into a device context for the guard's lifetime and puts
// back what was selected before: a GDI object is never deleted while a context holds it.
class TSelected {
 public:
  TSelected(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~TSelected() {
    if (old_) SelectObject(dc_, old_);
  }
  TSelected(const TSelected&) = delete;
  TSelected& operator=(const TSelected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

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
  // A new GDI font for this description at dpi (Height is the 96-DPI one).
  inst::UniqueFont Create(int dpi) const;
};

}  // namespace ui
