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

TEST_F(SharedInstallTest, AClickOnTheHiddenBackButtonDoesNothing) {
  TSetupRun run;
  InstallToFinishPage(run);
  ASSERT_TRUE(DeleteFileA(Public("Spellcheck\\Latvian.asc").c_str()));
  ClickEvenHidden(run, L"< &Back");  // hidden on the finish page: the run is not made again
  EXPECT_EQ(run.Title(), L"Installation Complete");
  FinishAndExit(run);
  EXPECT_FALSE(FileExists(Public("Spellcheck\\Latvian.asc")));
  EXPECT_TRUE(FileExists(Public("Spellcheck\\lv_LV.dic")));
}

// The removable test drive e: pulled for the owner's lifetime: the folder that its link in
// the Wine prefix's dosdevices folder names (drives\e beside the prefix, as tools/winenv.sh
// makes it) is moved away through the Unix root (z:), so the link leads nowhere.
class TPulledDrive {
 public:
  TPulledDrive() {
    char prefix[MAX_PATH] = {};
    GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
    const std::string drives = WinePath(prefix) + "\\..\\drives\\";
    folder_ = drives + "e";
    away_ = drives + "e-pulled";
    pulled_ = prefix[0] && MoveFileA(folder_.c_str(), away_.c_str());
  }
  ~TPulledDrive() {
    if (pulled_) MoveFileA(away_.c_str(), folder_.c_str());
  }
  TPulledDrive(const TPulledDrive&) = delete;
  TPulledDrive& operator=(const TPulledDrive&) = delete;
  bool Pulled() const { return pulled_ && GetFileAttributesA("E:\\") == INVALID_FILE_ATTRIBUTES; }

 private:
  std::string folder_, away_;
  bool pulled_ = false;
};

TEST_F(SharedInstallTest, AHomeFolderGoneByTheReadyPageSendsTheWizardBackWithNothingWritten) {
  const std::string home = "E:\\Pulled Home " + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(CreateDirectoryA(home.c_str(), nullptr));
  ASSERT_TRUE(CopyFileA(Built.hostExe.c_str(), (home + "\\qzv.exe").c_str(), FALSE));
  {
    TSetupRun run;
    WalkToReady(run, home);
    TPulledDrive pulled;
    ASSERT_TRUE(pulled.Pulled());
    run.Next();
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text.rfind(L"The specified folder does not contain a properly installed", 0), 0u);
    Answer(*box, IDOK);
    EXPECT_EQ(run.Title(), L"Specify Home Folder");
  }
  EXPECT_FALSE(testkit::FolderIsThere(home + "\\Spellcheck"));
  EXPECT_FALSE(testkit::FolderIsThere(SharedZentrova() + "\\Public"));
  EXPECT_FALSE(HasSetting("MAINDIR"));
  testkit::RemoveTreeForce(testkit::WidenAnsi(home));
}

}  // namespace
}  // namespace e2e
