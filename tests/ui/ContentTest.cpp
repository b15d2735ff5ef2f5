// What the controls hold and show: memo lines from files, pictures from bitmap files,
// and the pixels of panels, bevels and labels on the screen.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "instutils/Text.h"
#include "tests/common/TestFolder.h"
#include "tests/ui/TestForm.h"
#include "ui/Memo.h"

namespace {

using Lines = std::vector<std::string>;

TEST(Memo, LoadsLfCrLfAndCrFilesIntoTheSameLines) {
  testkit::TTestFolder folder;
  TTestForm form;
  ui::TMemo& memo = *form.LinesMemo;
  EXPECT_EQ(memo.LineCount(), 0) << "an empty memo holds no lines";

  const Lines expected{"First line", "second", "", "fourth"};
  for (const char* ends : {"\n", "\r\n", "\r"}) {
    const std::string e = ends;
    const std::string path =
        folder.WriteFile("lines.txt", "First line" + e + "second" + e + e + "fourth" + e);
    memo.SetLines({});
    EXPECT_TRUE(memo.LoadLinesFromFile(path));
    EXPECT_EQ(memo.Lines(), expected) << "line end " << (e == "\n" ? "LF" : e == "\r" ? "CR" : "CR LF");
  }
  // The window shows them as lines, whatever the file used.
  EXPECT_EQ(SendMessageA(memo.Handle(), EM_GETLINECOUNT, 0, 0), 4);

  // A missing file fails and leaves the lines alone.
  EXPECT_FALSE(memo.LoadLinesFromFile(folder / "no-such-file.txt"));
  EXPECT_EQ(memo.Lines(), expected);

  // A last line without a line end is a line; a file of nothing gives no lines.
  EXPECT_EQ(inst::SplitLines("a\r\nb"), (Lines{"a", "b"}));
  memo.LoadLinesFromFile(folder.WriteFile("empty.txt", ""));
  EXPECT_EQ(memo.LineCount(), 0);

  // A long text (a licence can run to many pages) arrives whole.
  std::string longText;
  for (int i = 0; i < 3000; ++i) longText += "Line " + std::to_string(i) + " of a long licence text\r\n";
  memo.LoadLinesFromFile(folder.WriteFile("long.txt", longText));
  const Lines longLines = memo.Lines();
  ASSERT_EQ(longLines.size(), 3000u);
  EXPECT_EQ(longLines.back(), "Line 2999 of a long licence text");
}

// A 24-bit bitmap file of width x height pixels, all of one colour (B, G, R).
std::string BitmapFile(int width, int height, unsigned char b, unsigned char g, unsigned char r) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = stride * height;
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  std::string row(stride, '\0');
  for (int x = 0; x < width; ++x) {
    row[x * 3] = static_cast<char>(b);
    row[x * 3 + 1] = static_cast<char>(g);
    row[x * 3 + 2] = static_cast<char>(r);
  }
  for (int y = 0; y < height; ++y) bytes += row;
  return bytes;
}

// The colour of a pixel of a control's client area as the screen shows it.
COLORREF PixelOf(ui::TControl* control, int x, int y) {
  HDC dc = GetDC(control->Handle());
  const COLORREF color = GetPixel(dc, x, y);
  ReleaseDC(control->Handle(), dc);
  return color;
}

TEST(Paint, PanelsBevelsLabelsAndPicturesShowAsLaidOut) {
  testkit::TTestFolder folder;
  TTestForm form;
  EXPECT_TRUE(form.LogoImage->LoadFromFile(folder.WriteFile("logo.bmp", BitmapFile(32, 32, 0, 0, 255))));
  EXPECT_EQ(form.LogoImage->PictureSize().cx, 32);
  EXPECT_FALSE(form.LogoImage->LoadFromFile(folder / "none.bmp"));
  EXPECT_EQ(form.LogoImage->PictureSize().cy, 32) << "a failed load keeps the picture";
  form.TitleLbl->SetCaption(L"Title");

  form.Show();
  RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const COLORREF white = RGB(255, 255, 255);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(face, white) << "the checks below need a face colour other than white";

  // The opaque white panel: lowered outer bevel, raised inner bevel, white inside.
  EXPECT_EQ(PixelOf(form.TopPanel, 0, 0), shadow);
  EXPECT_EQ(PixelOf(form.TopPanel, 399, 45), highlight);
  EXPECT_EQ(PixelOf(form.TopPanel, 1, 1), highlight);
  EXPECT_EQ(PixelOf(form.TopPanel, 398, 44), shadow);
  EXPECT_EQ(PixelOf(form.TopPanel, 200, 5), white);
  EXPECT_EQ(PixelOf(form.TitleLbl, form.TitleLbl->Width() - 1, 0), white) << "the label shows its panel's white";
  EXPECT_EQ(PixelOf(form.LogoImage, 5, 5), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(form.LogoImage, 33, 33), white) << "beyond the picture: the panel's background";
  // With its parent's background, the same panel shows the form's face colour.
  form.TopPanel->SetParentBackground(true);
  UpdateWindow(form.TopPanel->Handle());
  EXPECT_EQ(PixelOf(form.TopPanel, 200, 5), face);
  form.TopPanel->SetParentBackground(false);

  // The lowered line along the left side, and the lowered box two pixels high.
  EXPECT_EQ(PixelOf(form.LeftBevel, 0, 100), shadow);
  EXPECT_EQ(PixelOf(form.LeftBevel, 1, 100), highlight);
  EXPECT_EQ(PixelOf(form.BottomBevel, 100, 0), shadow);
  EXPECT_EQ(PixelOf(form.BottomBevel, 100, 1), highlight);

  // Leave the form on the screen for a look, if asked to.
  if (const char* shot = std::getenv("UI_TEST_HOLD_MS")) {
    const DWORD until = GetTickCount() + std::strtoul(shot, nullptr, 10);
    MSG msg;
    while (GetTickCount() < until) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
  }
  form.Hide();
}

}  // namespace
