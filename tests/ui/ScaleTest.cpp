// The form at other DPIs and what screen readers meet: WM_DPICHANGED lays every bound and
// font out for its DPI as a fresh form there, whatever DPIs came before, and a message
// that Windows could not have sent is ignored; labels are static texts stacked above
// their fields; a page change moves the focus once.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <map>
#include <string>
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
LRESULT SendDpiChanged(ui::TForm& form, int dpi, WPARAM wParam = 0, const RECT* rect = nullptr) {
  RECT r{0, 0, MulDiv(400, dpi, 96), MulDiv(300, dpi, 96)};
  AdjustWindowRectEx(&r, GetWindowLongA(form.Handle(), GWL_STYLE), FALSE, GetWindowLongA(form.Handle(), GWL_EXSTYLE));
  return SendMessageA(form.Handle(), WM_DPICHANGED, wParam ? wParam : MAKEWPARAM(dpi, dpi),
                      reinterpret_cast<LPARAM>(rect ? rect : &r));
}

// Every control's place in its parent and font height, and the form's client size.
using TLayoutSeen = std::map<std::string, std::array<long, 5>>;
TLayoutSeen Seen(TTestForm& form) {
  TLayoutSeen seen;
  for (ui::TControl* c : form.AllControls()) {
    const RECT r = InParent(c);
    seen[c->Name()] = {r.left, r.top, r.right, r.bottom, FontHeight(c)};
  }
  RECT client;
  GetClientRect(form.Handle(), &client);
  seen["client"] = {0, 0, client.right, client.bottom, 0};
  return seen;
}

TEST(DpiChange, EveryStepOfAPathLaysOutAsAFreshFormAtThatDpi) {
  RegisterTestClasses();
  TTestForm form;
  const TLayoutSeen designed = Seen(form);
  for (int dpi : {120, 144, 192, 96}) {
    SendDpiChanged(form, dpi);
    TTestForm fresh;
    if (dpi != 96) SendDpiChanged(fresh, dpi);
    const TLayoutSeen seen = Seen(form);
    EXPECT_EQ(seen, Seen(fresh)) << dpi;
    if (dpi == 192) {  // twice the layout, fonts too
      for (const auto& [name, i] : {std::pair{"client", 2}, {"client", 3}, {"NextBtn", 0}, {"NextBtn", 3},
                                    {"TitleLbl", 4}}) {
        EXPECT_EQ(seen.at(name)[i], 2 * designed.at(name)[i]) << name << i;
      }
    }
    SIZE ideal{};  // a check box takes what its caption needs where its scaled width would cut it
    SendMessageA(form.AcceptChkBx->Handle(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
    EXPECT_LE(ideal.cx, form.AcceptChkBx->Width()) << dpi;
  }
  EXPECT_EQ(Seen(form), designed);
}

TEST(DpiChange, OnlyAMessageAsWindowsSendsItIsTaken) {
  RegisterTestClasses();
  TTestForm form;
  RECT place;
  GetWindowRect(form.Handle(), &place);
  const TLayoutSeen designed = Seen(form);
  const RECT offScreen{-32000, -32000, -31000, -31000}, empty{10, 10, 10, 10};
  const RECT* unreadable = reinterpret_cast<const RECT*>(16);
  const struct {
    const char* what;
    WPARAM wParam;
    const RECT* rect;
  } ignored[] = {
      {"halves differ", MAKEWPARAM(144, 120), nullptr},
      {"below 48", MAKEWPARAM(47, 47), nullptr},
      {"above 960", MAKEWPARAM(961, 961), nullptr},
      {"rectangle off every monitor", 0, &offScreen},
      {"empty rectangle", 0, &empty},
      {"no rectangle", 0, unreadable},
  };
  for (const auto& c : ignored) {
    SendDpiChanged(form, 144, c.wParam, c.rect);
    RECT now;
    GetWindowRect(form.Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &place)) << c.what;
    EXPECT_EQ(Seen(form), designed) << c.what;
  }
  SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
  EXPECT_EQ(Seen(form), designed) << "lParam 0";
  // The ends of the range are taken.
  for (const auto& [dpi, width] : {std::pair{48, 43}, std::pair{960, 850}}) {
    SendDpiChanged(form, dpi);
    EXPECT_EQ(InParent(form.NextBtn).right - InParent(form.NextBtn).left, width) << dpi;
  }
}

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
