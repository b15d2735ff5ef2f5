// The wizard at the display's DPI (at-dpi.sh sets one before Wine starts; the plain run
// has 96): laid out scaled, no text cut off; and what a screen reader meets: each field's
// label just above it, one focus move per page change.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/common/WindowDriver.h"
#include "tests/e2e/WizardFixture.h"

namespace e2e {
namespace {

int DisplayDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

RECT InParent(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

HWND Focused(const TSetupRun& run) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(run.Form(), nullptr), &info);
  return info.hwndFocus;
}

class DpiTest : public WizardTest {
 protected:
  const int dpi_ = DisplayDpi();
  int S(int v) const { return MulDiv(v, dpi_, 96); }
  // The wizard's fonts at this DPI, as the program makes them.
  HFONT MakeFont(int height, const char* face, int weight) const {
    return CreateFontA(S(height), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, face);
  }
};

TEST_F(DpiTest, TheLayoutScalesWithTheDisplay) {
  TSetupRun run;
  ASSERT_NE(run.Form(), nullptr);
  std::printf("display: %d DPI\n", dpi_);
  RECT client;
  GetClientRect(run.Form(), &client);
  EXPECT_EQ(client.right, S(492));
  EXPECT_EQ(client.bottom, S(351));
  struct TPlace {
    const wchar_t* cls;
    int left, top, width, height;
  };
  for (const TPlace& p : {TPlace{L"SysTabControl32", 120, 41, 375, 268}, TPlace{L"TPanel", 0, 307, 492, 44},
                          TPlace{L"Button", 295, 12, 85, 22}, TPlace{L"Edit", 12, 25, 345, 207},
                          TPlace{L"ListBox", 11, 65, 345, 157}, TPlace{L"TImage", 1, 0, 120, 260}}) {
    bool found = false;
    for (HWND w : run.FindAll(p.cls, true)) {
      const RECT r = InParent(w);
      if (r.left != S(p.left) || r.top != S(p.top)) continue;
      found = true;
      EXPECT_EQ(r.right - r.left, S(p.width)) << testkit::WindowText(w);
      EXPECT_EQ(r.bottom - r.top, S(p.height)) << testkit::WindowText(w);
    }
    EXPECT_TRUE(found) << "nothing at the scaled place of a control at " << p.left << "," << p.top;
  }
}

TEST_F(DpiTest, NoTextIsCutOff) {
  TSetupRun run;
  ASSERT_NE(run.Form(), nullptr);
  HDC dc = GetDC(nullptr);
  const HFONT dialog = MakeFont(-11, "MS Shell Dlg 2", FW_NORMAL);
  const HFONT title = MakeFont(-15, "Arial", FW_BOLD);
  const auto measure = [&](HFONT font, const std::wstring& text, UINT flags, int width) {
    RECT r{0, 0, width, 0};
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
    SelectObject(dc, old);
    return r;
  };
  int labels = 0;
  for (HWND label : run.FindAll(L"Static", true)) {
    const RECT r = InParent(label);
    const bool wraps = (GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT;
    const bool isTitle = GetParent(GetParent(label)) == run.Form() && r.top < S(40);
    const RECT text = measure(isTitle ? title : dialog, testkit::WindowText(label),
                              DT_LEFT | DT_EXPANDTABS | (wraps ? DT_WORDBREAK : 0), r.right - r.left);
    EXPECT_LE(text.right, r.right - r.left) << testkit::WindowText(label);
    EXPECT_LE(text.bottom, r.bottom - r.top) << testkit::WindowText(label);
    ++labels;
  }
  EXPECT_EQ(labels, 6);
  DeleteObject(dialog);
  DeleteObject(title);
  ReleaseDC(nullptr, dc);
}

int focusEvents = 0;
void CALLBACK CountFocus(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) { ++focusEvents; }

using ScreenReaderTest = WizardTest;

TEST_F(ScreenReaderTest, FieldsAreNamedByTheLabelAboveAndAPageChangeMovesTheFocusOnce) {
  TSetupRun run;
  ASSERT_NE(run.Form(), nullptr);
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, CountFocus,
                                       run.ProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  struct TStep {
    const wchar_t* title;
    const wchar_t* targetClass;
    const wchar_t* label;  // the static text just above the target
  };
  for (const TStep& step :
       {TStep{L"License Agreement", L"Edit", L"Please read the following &License Agreement."},
        TStep{L"Specify Home Folder", L"Edit",
              L"Please specify the home &folder of Zentrova Word Processor on your computer:"}}) {
    focusEvents = 0;
    run.Key(VK_RETURN);  // Enter, which presses Next without moving the focus to it
    ASSERT_TRUE(run.WaitForTitle(step.title));
    // Events come as messages to this thread: take them until a quiet spell.
    MSG msg;
    do {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    } while (MsgWaitForMultipleObjects(0, nullptr, FALSE, 500, QS_ALLINPUT) == WAIT_OBJECT_0);
    HWND focus = Focused(run);
    wchar_t cls[32] = {};
    GetClassNameW(focus, cls, 32);
    EXPECT_STREQ(cls, step.targetClass) << step.title;
    HWND above = GetWindow(focus, GW_HWNDPREV);
    GetClassNameW(above, cls, 32);
    EXPECT_STREQ(cls, L"Static") << step.title;
    EXPECT_EQ(testkit::WindowText(above), step.label);
    EXPECT_EQ(focusEvents, 1) << step.title;
  }
  UnhookWinEvent(hook);
}

}  // namespace
}  // namespace e2e
