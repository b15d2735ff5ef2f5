// The wizard's steps against what is really there when they are taken: clicks sent to
// buttons the page does not show, and a home folder that is gone by the time Next installs.
#include <windows.h>

#include <string>

#include "tests/hardening/Hardening.h"

namespace e2e {
namespace {

using testkit::FileExists;

// A click sent to the button whether or not it is shown; returns once it is handled.
void ClickEvenHidden(const TSetupRun& run, const wchar_t* caption) {
  HWND button = run.Find(L"Button", caption, true);
  ASSERT_NE(button, nullptr);
  SendMessageW(button, BM_CLICK, 0, 0);
}

TEST_F(SharedInstallTest, ClicksOnHiddenOrDisabledButtonsDoNothing) {
  TSetupRun run;
  ClickEvenHidden(run, L"< &Back");  // disabled on the welcome page: no page before it
  EXPECT_EQ(run.Title(), L"Welcome to the Zentrova Latvian Spellchecker");
  InstallToFinishPage(run);
  ASSERT_TRUE(DeleteFileA(Public("Spellcheck\\Latvian.asc").c_str()));
  ClickEvenHidden(run, L"< &Back");  // hidden on the finish page: the run is not made again
  EXPECT_EQ(run.Title(), L"Installation Complete");
  FinishAndExit(run);
  EXPECT_FALSE(FileExists(Public("Spellcheck\\Latvian.asc")));
  EXPECT_TRUE(FileExists(Public("Spellcheck\\lv_LV.dic")));
}

}  // namespace
}  // namespace e2e
