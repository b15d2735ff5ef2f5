// The form at other DPIs and what screen readers meet: WM_DPICHANGED relays every bound
// and font and the way back gives the 96-DPI layout exactly; labels are static texts
// stacked above their fields; a page change moves the focus once.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <vector>

#include "tests/ui/TestForm.h"

namespace {

RECT InParent(ui::TControl* c) {
  RECT r;
  GetWindowRect(c->Handle(), &r);
  MapWindowPoints(nullptr, GetParent(c->Handle()), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

LONG FontHeight(ui::TControl* c) {
  LOGFONTA lf{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(c->Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf.lfHeight;
}

// What Windows sends on reaching a monitor of `dpi`: the window sized for the scaled client.
void SendDpiChanged(ui::TForm& form, int dpi) {
  RECT r{0, 0, MulDiv(400, dpi, 96), MulDiv(300, dpi, 96)};
  AdjustWindowRectEx(&r, GetWindowLongA(form.Handle(), GWL_STYLE), FALSE, GetWindowLongA(form.Handle(), GWL_EXSTYLE));
  SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
}

class DpiChange : public ::testing::TestWithParam<int> {};

TEST_P(DpiChange, ScalesEveryBoundAndFontAndComesBackExactly) {
  RegisterTestClasses();
  TTestForm form;
  const auto S = [dpi = GetParam()](int v) { return MulDiv(v, dpi, 96); };
  std::map<ui::TControl*, RECT> before;
  for (ui::TControl* c : form.AllControls()) before[c] = InParent(c);

  SendDpiChanged(form, GetParam());
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, S(400));
  EXPECT_EQ(client.bottom, S(300));
  for (ui::TControl* c : std::vector<ui::TControl*>{form.Pages, form.TopPanel, form.NextBtn, form.WrapLbl,
                                                    form.LinesMemo, form.LogoImage}) {
    const RECT was = before[c], now = InParent(c);
    EXPECT_EQ(now.left, S(was.left)) << c->Name();
    EXPECT_EQ(now.top, S(was.top)) << c->Name();
    EXPECT_EQ(now.right - now.left, S(was.right - was.left)) << c->Name();
    EXPECT_EQ(now.bottom - now.top, S(was.bottom - was.top)) << c->Name();
  }
  EXPECT_EQ(FontHeight(form.NameEdt), S(-11));
  EXPECT_EQ(FontHeight(form.TitleLbl), S(-15));
  EXPECT_EQ(form.NameEdt->Height(), form.NameEdt->FontMetrics().tmHeight + S(8));
  SIZE ideal{};  // a check box takes at least its scaled width, and what its caption needs
  SendMessageA(form.AcceptChkBx->Handle(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
  EXPECT_LE(ideal.cx, form.AcceptChkBx->Width());

  SendDpiChanged(form, 96);
  for (ui::TControl* c : form.AllControls()) {
    const RECT was = before[c], now = InParent(c);
    EXPECT_TRUE(EqualRect(&was, &now)) << c->Name();
  }
}

INSTANTIATE_TEST_SUITE_P(Dpi, DpiChange, ::testing::Values(144, 192));

int focusMoves = 0;
LRESULT CALLBACK CountFocus(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && reinterpret_cast<CWPSTRUCT*>(lParam)->message == WM_SETFOCUS) ++focusMoves;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(ScreenReaders, LabelsAreStaticTextsAboveTheirFieldsAndAPageChangeMovesTheFocusOnce) {
  RegisterTestClasses();
  TTestForm form;
  char cls[32] = {};
  GetClassNameA(form.NameLbl->Handle(), cls, sizeof cls);
  EXPECT_STREQ(cls, "Static");
  // From the top: creation order reversed, but the edit right below its label.
  std::vector<HWND> order;
  for (HWND w = GetWindow(form.FirstSheet->Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) order.push_back(w);
  EXPECT_EQ(order, (std::vector<HWND>{form.AcceptChkBx->Handle(), form.LinesMemo->Handle(), form.NameLbl->Handle(),
                                      form.NameEdt->Handle(), form.WrapLbl->Handle()}));
  form.Show();
  form.Pages->SetActivePageIndex(1);
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CountFocus, nullptr, GetCurrentThreadId());
  struct TChange {
    int page;
    ui::TControl* target;
    ui::TControl* focused;
    int moves;
  };
  // To a named target; without one, a focus on the page that hides goes to the default
  // button; a focus that stays visible stays.
  for (const TChange& c : {TChange{0, form.NameEdt, form.NameEdt, 1}, TChange{1, nullptr, form.NextBtn, 1},
                           TChange{0, nullptr, form.NextBtn, 0}}) {
    focusMoves = 0;
    form.Pages->SetActivePageIndex(c.page, c.target);
    EXPECT_EQ(GetFocus(), c.focused->Handle());
    EXPECT_EQ(focusMoves, c.moves) << c.page;
  }
  UnhookWindowsHookEx(hook);
}

}  // namespace
