// The wizard driven from the keyboard, keys typed as a person types them (real input to
// the wizard in the foreground): Enter, Esc and mnemonics move or ask as their buttons do,
// no page leaves the keyboard without a focus, and a handler started by a key gets the
// same default error handling as a click.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/common/WindowDriver.h"
#include "tests/e2e/WizardFixture.h"

namespace e2e {
namespace {

using testkit::ReadWholeFile;

const wchar_t kLaunchBox[] = L"&Launch Zentrova Word Processor";

class KeyboardTest : public WizardTest {
 protected:
  std::string LogPath() const { return SharedZentrova() + "\\Update.log"; }

  static void AnswerBox(const TSetupRun& run, int button, const wchar_t* textStart) {
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text.rfind(textStart, 0), 0u) << std::string(box->text.begin(), box->text.end());
    ASSERT_TRUE(testkit::PressButton(box->window, button));
    ASSERT_TRUE(testkit::WaitForWindowGone(box->window, 5000));
  }
};

TEST_F(KeyboardTest, ASharedInstallationByKeyboardAlone) {
  const std::string home = MakeHome();
  TSetupRun run("\"-d" + home + "\"");
  ASSERT_NE(run.Form(), nullptr);
  run.Key(VK_RETURN);
  ASSERT_TRUE(run.WaitForTitle(L"License Agreement"));
  run.AltKey('B');  // Back; the welcome page disables the button that had the focus
  ASSERT_TRUE(run.WaitForTitle(L"Welcome to the Zentrova Latvian Spellchecker"));
  run.Key(VK_RETURN);  // the focus went to Next, so Enter still works
  ASSERT_TRUE(run.WaitForTitle(L"License Agreement"));
  run.Key(VK_ESCAPE);  // from the licence text: asks as Cancel does
  AnswerBox(run, IDNO, L"Setup is not complete.");
  run.Key(VK_RETURN);
  ASSERT_TRUE(run.WaitForTitle(L"Specify Home Folder"));
  EXPECT_EQ(run.EditText(), std::wstring(home.begin(), home.end()));
  run.Key(VK_RETURN);
  ASSERT_TRUE(run.WaitForTitle(L"Ready to Install"));
  run.Key(VK_RETURN);
  ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
  run.AltKey('L');
  ASSERT_TRUE(run.WaitForCheck(kLaunchBox, false));
  run.Key(VK_RETURN);  // Finish, from the launch box
  EXPECT_EQ(run.WaitForExit(), 0u);

  EXPECT_TRUE(testkit::FileExists(SharedZentrova() + "\\Public\\Spellcheck\\lv_LV.dic"));
  EXPECT_TRUE(testkit::FileExists(LogPath()));
  EXPECT_EQ(ReadMainDir(), home);
  EXPECT_EQ(ReadLaunch(), 0u);
}

TEST_F(KeyboardTest, EnterOnFinishWithAReadOnlyLogShowsTheErrorAndFinishesOnceItMayBeWritten) {
  const std::string old = "*0000000000000000\r\nC:\\Elsewhere\\kept.txt\r\n";
  CreateDirectoryA(SharedZentrova().c_str(), nullptr);
  folder_.WriteFile("old.log", old);
  ASSERT_TRUE(CopyFileA((folder_ / "old.log").c_str(), LogPath().c_str(), FALSE));
  ASSERT_TRUE(SetFileAttributesA(LogPath().c_str(), FILE_ATTRIBUTE_READONLY));
  const std::string home = MakeHome();
  TSetupRun run;
  WalkToReady(run, home);
  run.Key(VK_RETURN);
  ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
  run.SetCheck(kLaunchBox, false);

  run.Key(VK_RETURN);
  const auto box = Box(run);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"Zentrova Latvian Spellchecker - Setup");
  EXPECT_EQ(box->icon, testkit::TBoxIcon::Error);
  ASSERT_TRUE(testkit::PressButton(box->window, IDOK));
  ASSERT_TRUE(testkit::WaitForWindowGone(box->window, 5000));
  EXPECT_EQ(run.WaitForExit(0), STILL_ACTIVE) << "the error ended the program";
  EXPECT_EQ(run.Title(), L"Installation Complete");
  EXPECT_EQ(ReadWholeFile(LogPath()), old);
  EXPECT_FALSE(HasSetting("MAINDIR"));

  SetFileAttributesA(LogPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  run.Key(VK_RETURN);
  EXPECT_EQ(run.WaitForExit(), 0u);
  const std::string merged = ReadWholeFile(LogPath());
  EXPECT_EQ(merged.rfind(old, 0), 0u) << "the old group stays first";
  EXPECT_NE(merged.find("\\Spellcheck\\lv_LV.dic\r\n"), std::string::npos);
  EXPECT_EQ(ReadMainDir(), home);
}

}  // namespace
}  // namespace e2e
