// The modal run: how it ends, the close query, the dialog keys and the default handling
// of an exception that escapes an event handler. Each test drives the running form from
// its own timer, one step per tick, posting input as the keyboard would.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "instutils/SetupTitle.h"
#include "instutils/Widen.h"
#include "tests/common/WindowDriver.h"
#include "tests/ui/TestForm.h"
#include "ui/Application.h"

namespace {

TEST(ModalRun, EndsOnModalResultAndHidesTheForm) {
  TTestForm form;
  form.onTick = [&](int tick) {
    if (tick == 1) {
      EXPECT_TRUE(IsWindowVisible(form.Handle()));
      form.SetModalResult(ui::mrOk);
    }
  };
  EXPECT_EQ(form.RunModal(), ui::mrOk);
  EXPECT_EQ(form.closeQueries, 1);
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST(ModalRun, APageNotShownGetsItsWindowsOnceTheFormHasPaintedWithWhatWasSetBefore) {
  TTestForm form;
  EXPECT_FALSE(form.SecondSheet->HandleAllocated()) << "the form is built with the shown page only";
  ui::TControl* label = form.FindChild("SecondLbl");
  label->SetCaption(L"Set before its window");
  form.onTick = [&](int tick) {
    if (tick != 1) return;
    ASSERT_TRUE(label->HandleAllocated());
    EXPECT_FALSE(IsWindowVisible(label->Handle()));
    EXPECT_EQ(testkit::WindowText(label->Handle()), L"Set before its window");
    form.SetModalResult(ui::mrOk);
  };
  EXPECT_EQ(form.RunModal(), ui::mrOk);
}

// Nothing in the window or in any window shown inside it waits to be painted.
bool NothingToPaint(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return false;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child) && !NothingToPaint(child)) return false;
  return true;
}

HWND shownForm;
int createdUnpainted;

// Counts the windows made inside the form while the shown form still has something to paint.
LRESULT CALLBACK CountUnpaintedCreations(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const HWND parent = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->hwndParent;
    if ((parent == shownForm || IsChild(shownForm, parent)) && IsWindowVisible(shownForm) &&
        !NothingToPaint(shownForm))
      ++createdUnpainted;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(ModalRun, TheShownFormIsPaintedBeforePagesNotShownGetTheirWindows) {
  TTestForm form;
  // A mouse move that waits when the run starts (the pointer over the new window) comes
  // before the paint messages; it must not make the form wait for the hidden page.
  PostMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  shownForm = form.Handle();
  createdUnpainted = 0;
  const HHOOK hook =
      SetWindowsHookExW(WH_CBT, CountUnpaintedCreations, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  form.onTick = [&](int tick) {
    if (tick != 1) return;
    EXPECT_TRUE(form.SecondSheet->HandleAllocated());
    form.SetModalResult(ui::mrOk);
  };
  EXPECT_EQ(form.RunModal(), ui::mrOk);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(createdUnpainted, 0) << "windows were made while the shown form was not painted";
}

TEST(ModalRun, ARefusedCloseQueryKeepsTheFormOpen) {
  TTestForm form;
  bool allow = false;
  form.allowClose = [&] { return allow; };
  form.onTick = [&](int tick) {
    if (tick == 1) form.SetModalResult(ui::mrCancel);
    if (tick == 2) {
      EXPECT_EQ(form.closeQueries, 1);
      EXPECT_EQ(form.ModalResult(), ui::mrNone) << "a refusal resets the modal result";
      EXPECT_TRUE(IsWindowVisible(form.Handle()));
      // The close box asks the same question.
      PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    if (tick == 3) {
      EXPECT_EQ(form.closeQueries, 2);
      EXPECT_TRUE(IsWindowVisible(form.Handle()));
      allow = true;
      PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  };
  EXPECT_EQ(form.RunModal(), ui::mrCancel);
  EXPECT_EQ(form.closeQueries, 3);
}

TEST(ModalRun, EscPressesTheCancelButtonOnlyWhileItCanBePressed) {
  TTestForm form;
  form.onTick = [&](int tick) {
    switch (tick) {
      case 1:
        form.NameEdt->SetFocus();
        form.CancelBtn->Hide();
        PostKey(WM_KEYDOWN, VK_ESCAPE);
        break;
      case 2:
        EXPECT_EQ(form.cancelClicks, 0) << "hidden cancel button";
        form.CancelBtn->Show();
        form.CancelBtn->SetEnabled(false);
        PostKey(WM_KEYDOWN, VK_ESCAPE);
        break;
      case 3:
        EXPECT_EQ(form.cancelClicks, 0) << "disabled cancel button";
        EXPECT_EQ(form.closeQueries, 0);
        EXPECT_TRUE(IsWindowVisible(form.Handle()));
        form.CancelBtn->SetEnabled(true);
        PostKey(WM_KEYDOWN, VK_ESCAPE);
        break;
      default:
        break;
    }
  };
  EXPECT_EQ(form.RunModal(), ui::mrCancel) << "Esc takes the cancel road";
  EXPECT_EQ(form.cancelClicks, 1);
  EXPECT_EQ(form.closeQueries, 1);
}

TEST(ModalRun, EnterTabAndMnemonicsMoveAsInADialog) {
  TTestForm form;
  std::vector<ui::TControl*> clicks;
  form.onBNClick = [&](ui::TControl* sender) { clicks.push_back(sender); };
  form.onTick = [&](int tick) {
    switch (tick) {
      case 1:
        form.NameEdt->SetFocus();
        PostKey(WM_KEYDOWN, VK_RETURN);  // the default button
        break;
      case 2:
        form.BackBtn->SetFocus();
        PostKey(WM_KEYDOWN, VK_RETURN);  // the focused button
        break;
      case 3:
        EXPECT_EQ(GetWindowLongA(form.BackBtn->Handle(), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON)
            << "the focused button shows as the one Enter presses";
        EXPECT_EQ(GetWindowLongA(form.NextBtn->Handle(), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
        PostKey(WM_SYSCHAR, 'f');  // the label's mnemonic focuses its partner
        break;
      case 4:
        EXPECT_EQ(GetFocus(), form.NameEdt->Handle());
        PostKey(WM_KEYDOWN, VK_TAB);
        break;
      case 5:
        EXPECT_EQ(GetFocus(), form.LinesMemo->Handle()) << "Tab follows the layout order";
        PostKey(WM_SYSCHAR, 'a');  // the check box's mnemonic toggles it
        break;
      case 6:
        EXPECT_FALSE(form.AcceptChkBx->Checked());
        EXPECT_EQ(GetFocus(), form.AcceptChkBx->Handle());
        form.NextBtn->Hide();
        PostKey(WM_SYSCHAR, 'n');  // a hidden button's mnemonic does nothing
        break;
      case 7:
        // A letter outside the ANSI code page, typed in either case, reaches its button.
        form.BackBtn->SetCaption(L"&\u0100bols");
        PostKey(WM_CHAR, L'\u0100');
        break;
      case 8:
        form.SetModalResult(ui::mrOk);
        break;
      default:
        break;
    }
  };
  EXPECT_EQ(form.RunModal(), ui::mrOk);
  ASSERT_EQ(clicks.size(), 3u);
  EXPECT_EQ(clicks[0], form.NextBtn);
  EXPECT_EQ(clicks[1], form.BackBtn);
  EXPECT_EQ(clicks[2], form.BackBtn);
}

TEST(ModalRun, AnExceptionFromAHandlerIsShownAndTheFormStays) {
  TTestForm form;
  form.onBNClick = [](ui::TControl*) { throw std::runtime_error("The handler failed on purpose."); };
  bool refuseLoudly = true;
  form.allowClose = [&]() -> bool {
    if (refuseLoudly) {
      refuseLoudly = false;
      throw std::runtime_error("The close query failed on purpose.");
    }
    return true;
  };
  testkit::TBoxAnswerer answerer(IDOK, 2);
  form.onTick = [&](int tick) {
    if (tick == 1) PostMessageW(form.NextBtn->Handle(), BM_CLICK, 0, 0);
    if (tick == 2) {
      EXPECT_TRUE(IsWindowVisible(form.Handle())) << "the form stays after the error box";
      form.SetModalResult(ui::mrOk);  // the close query fails: shown, and the form stays
    }
    if (tick == 3) {
      EXPECT_TRUE(IsWindowVisible(form.Handle()));
      form.SetModalResult(ui::mrOk);
    }
  };
  EXPECT_EQ(form.RunModal(), ui::mrOk);
  const auto& seen = answerer.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].caption, inst::Widen(inst::kSetupTitle));
  EXPECT_EQ(seen[0].text, L"The handler failed on purpose.");
  EXPECT_EQ(seen[0].icon, testkit::TBoxIcon::Error);
  EXPECT_EQ(seen[0].owner, form.Handle());
  EXPECT_EQ(seen[1].text, L"The close query failed on purpose.");
}

}  // namespace
