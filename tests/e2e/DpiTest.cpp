// The wizard at the display's DPI (at-dpi.sh sets one before Wine starts; the plain run
// has 96): laid out scaled (that each text fits is measured in tests/wizard/TextsTest.cpp
// at the same DPIs in both languages); and what a screen reader meets: each field's label
// just above it, one focus move per page change.
#include <windows.h>

#include <string>
#include <tuple>

#include "tests/common/WindowDriver.h"
#include "tests/e2e/WizardFixture.h"

namespace e2e {
namespace {

using testkit::WindowText;

int S(int v) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return MulDiv(v, dpi, 96);
}

RECT InParent(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

using DpiTest = WizardTest;

TEST_F(DpiTest, LaidOutForTheDisplayAndKeptThereByAPostedDpiChange) {
  TSetupRun run;
  RECT client;
  GetClientRect(run.Form(), &client);
  // A window taller than the display is cut to it (250 percent on the 768-line test display).
  if (S(351) < GetSystemMetrics(SM_CYSCREEN) - S(30)) {
    EXPECT_EQ(client.right, S(492));
    EXPECT_EQ(client.bottom, S(351));
  }
  for (const auto& [cls, left, top, width, height] :  // the pages, a button, a list at their scaled places
       {std::tuple{L"SysTabControl32", 120, 41, 375, 268}, std::tuple{L"Button", 295, 12, 85, 22},
        std::tuple{L"ListBox", 11, 65, 345, 157}}) {
    int found = 0;
    for (HWND w : run.FindAll(cls, true)) {
      const RECT r = InParent(w);
      found += r.left == S(left) && r.top == S(top) && r.right - r.left == S(width) && r.bottom - r.top == S(height);
    }
    EXPECT_EQ(found, 1) << left << "," << top;
  }
  // A posted WM_DPICHANGED carries no rectangle the wizard could read: it is ignored, and
  // the key posted after it still reaches the wizard, laid out as before.
  PostMessageW(run.Form(), WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
  run.Key(VK_RETURN);
  ASSERT_TRUE(run.WaitForTitle(L"License Agreement"));
  RECT now;
  GetClientRect(run.Form(), &now);
  EXPECT_TRUE(EqualRect(&now, &client));
}

int focusEvents = 0;
void CALLBACK CountFocus(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) { ++focusEvents; }

using ScreenReaderTest = WizardTest;

TEST_F(ScreenReaderTest, FieldsAreNamedByTheLabelAboveAndAPageChangeMovesTheFocusOnce) {
  TSetupRun run;
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, CountFocus,
                                       run.ProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  for (const auto& [page, label] :
       {std::pair{L"License Agreement", L"Please read the following &License Agreement."},
        std::pair{L"Specify Home Folder", L"Please specify the home &folder of Zentrova Word Processor on your computer:"}}) {
    focusEvents = 0;
    run.Key(VK_RETURN);  // presses Next without moving the focus to it
    ASSERT_TRUE(run.WaitForTitle(page));
    MSG msg;  // the events come as messages to this thread: take them until a quiet spell
    do {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    } while (MsgWaitForMultipleObjects(0, nullptr, FALSE, 500, QS_ALLINPUT) == WAIT_OBJECT_0);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(run.Form(), nullptr), &info);
    EXPECT_EQ(testkit::ClassOf(info.hwndFocus), L"Edit") << page;
    EXPECT_EQ(WindowText(GetWindow(info.hwndFocus, GW_HWNDPREV)), label);
    EXPECT_EQ(focusEvents, 1) << page;
  }
  UnhookWinEvent(hook);
}

}  // namespace
}  // namespace e2e
