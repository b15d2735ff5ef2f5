// The form at other DPIs and what screen readers meet: one walk scales every bound and
// font, WM_DPICHANGED relays the window and the way back gives the 96-DPI layout exactly;
// labels are static texts stacked above their fields; a page change moves the focus once.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <vector>

#include "tests/ui/TestForm.h"

namespace {

RECT RectInParent(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

LONG FontHeight(ui::TControl* c) {
  LOGFONTA lf{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(c->Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf.lfHeight;
}

// Sends the form what Windows sends when it reaches a monitor of `dpi`: the window at
// its place, sized for the client area of the layout scaled to that DPI.
void SendDpiChanged(ui::TForm& form, int dpi, int clientWidth, int clientHeight) {
  HWND h = form.Handle();
  RECT r{0, 0, MulDiv(clientWidth, dpi, 96), MulDiv(clientHeight, dpi, 96)};
  AdjustWindowRectEx(&r, GetWindowLongA(h, GWL_STYLE), FALSE, GetWindowLongA(h, GWL_EXSTYLE));
  RECT place;
  GetWindowRect(h, &place);
  OffsetRect(&r, place.left - r.left, place.top - r.top);
  SendMessageA(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
}

class DpiChange : public ::testing::TestWithParam<int> {};

TEST_P(DpiChange, ScalesEveryBoundAndFontAndComesBackExactly) {
  RegisterTestClasses();
  TTestForm form;
  const int dpi = GetParam();
  const auto scaled = [dpi](int v) { return MulDiv(v, dpi, 96); };
  std::map<ui::TControl*, RECT> before;
  for (ui::TControl* c : form.AllControls()) before[c] = RectInParent(c->Handle());

  SendDpiChanged(form, dpi, 400, 300);
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, scaled(400));
  EXPECT_EQ(client.bottom, scaled(300));
  // Fixed bounds scale as they are; aligned ones fill the scaled client area.
  for (ui::TControl* c : {static_cast<ui::TControl*>(form.Pages), static_cast<ui::TControl*>(form.TopPanel),
                          static_cast<ui::TControl*>(form.NextBtn), static_cast<ui::TControl*>(form.WrapLbl),
                          static_cast<ui::TControl*>(form.LinesMemo), static_cast<ui::TControl*>(form.LogoImage)}) {
    const RECT was = before[c], now = RectInParent(c->Handle());
    EXPECT_EQ(now.left, scaled(was.left)) << c->Name();
    EXPECT_EQ(now.top, scaled(was.top)) << c->Name();
    EXPECT_EQ(now.right - now.left, scaled(was.right - was.left)) << c->Name();
    EXPECT_EQ(now.bottom - now.top, scaled(was.bottom - was.top)) << c->Name();
  }
  // A check box is at least its scaled width, and wide enough for its caption.
  SIZE ideal{};
  SendMessageA(form.AcceptChkBx->Handle(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
  EXPECT_GE(form.AcceptChkBx->Width(), scaled(before[form.AcceptChkBx].right - before[form.AcceptChkBx].left));
  EXPECT_LE(ideal.cx, form.AcceptChkBx->Width());
  EXPECT_EQ(FontHeight(form.NameEdt), scaled(-11));
  EXPECT_EQ(FontHeight(form.TitleLbl), scaled(-15));
  EXPECT_EQ(form.NameEdt->Height(), form.NameEdt->FontMetrics().tmHeight + scaled(8));
  EXPECT_EQ(form.NameLbl->Height(), form.NameLbl->FontMetrics().tmHeight) << "sized by its new font";

  SendDpiChanged(form, 96, 400, 300);
  for (ui::TControl* c : form.AllControls()) {
    const RECT was = before[c], now = RectInParent(c->Handle());
    EXPECT_TRUE(EqualRect(&was, &now)) << c->Name();
  }
  EXPECT_EQ(FontHeight(form.NameEdt), -11);
}

INSTANTIATE_TEST_SUITE_P(Dpi, DpiChange, ::testing::Values(144, 192));

TEST(Labels, AreStaticTextsStackedDirectlyAboveTheirFields) {
  RegisterTestClasses();
  TTestForm form;
  char cls[32] = {};
  GetClassNameA(form.NameLbl->Handle(), cls, sizeof cls);
  EXPECT_STREQ(cls, "Static");
  char text[32] = {};
  GetWindowTextA(form.NameLbl->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Home &folder:") << "the mnemonic stays in the text";
  // The page's windows from the top: creation order reversed, but the edit right below
  // its label.
  std::vector<HWND> order;
  for (HWND w = GetWindow(form.FirstSheet->Handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    order.push_back(w);
  EXPECT_EQ(order, (std::vector<HWND>{form.AcceptChkBx->Handle(), form.LinesMemo->Handle(),
                                      form.NameLbl->Handle(), form.NameEdt->Handle(),
                                      form.WrapLbl->Handle()}));
}

int focusMoves = 0;
LRESULT CALLBACK CountFocus(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && reinterpret_cast<CWPSTRUCT*>(lParam)->message == WM_SETFOCUS) ++focusMoves;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Focus, APageChangeMovesItOnceStraightToWhereItGoes) {
  RegisterTestClasses();
  TTestForm form;
  form.Show();
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountFocus, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  // To a named target: the focus goes there, and only there.
  form.Pages->SetActivePageIndex(1);
  focusMoves = 0;
  form.Pages->SetActivePageIndex(0, form.NameEdt);
  EXPECT_EQ(GetFocus(), form.NameEdt->Handle());
  EXPECT_EQ(focusMoves, 1);
  // Without one, a focus that the hidden page takes goes once, to the default button.
  focusMoves = 0;
  form.Pages->SetActivePageIndex(1);
  EXPECT_EQ(GetFocus(), form.NextBtn->Handle());
  EXPECT_EQ(focusMoves, 1);
  // A focus that stays visible stays where it is.
  focusMoves = 0;
  form.Pages->SetActivePageIndex(0);
  EXPECT_EQ(focusMoves, 0);
  UnhookWindowsHookEx(hook);
  form.Hide();
}

}  // namespace
