// Setup.exe started as a user starts it: what the wizard shows first, where its controls
// lie, which home folder it proposes from every source, and how it ends when cancelled.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "tests/common/TestProcess.h"
#include "tests/common/WindowDriver.h"
#include "tests/e2e/WizardFixture.h"

namespace e2e {
namespace {

using testkit::WindowText;

std::string ProgramFiles() {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, path);
  return path;
}

std::wstring W(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// The window's rectangle in its parent's client coordinates.
RECT InParent(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ExpectRect(HWND w, int left, int top, int width, int height, const char* what) {
  ASSERT_NE(w, nullptr) << what;
  const RECT r = InParent(w);
  EXPECT_EQ(r.left, left) << what;
  EXPECT_EQ(r.top, top) << what;
  EXPECT_EQ(r.right - r.left, width) << what;
  if (height >= 0) {
    EXPECT_EQ(r.bottom - r.top, height) << what;
  }
}

HWND ByPosition(const TSetupRun& run, const wchar_t* cls, int left, int top) {
  for (HWND w : run.FindAll(cls, true)) {
    const RECT r = InParent(w);
    if (r.left == left && r.top == top) return w;
  }
  return nullptr;
}

class StartupTest : public WizardTest {
 protected:
  // Cancels the wizard, answers the close question with Yes and expects exit code 0.
  static void CancelAndConfirm(TSetupRun& run) {
    run.Cancel();
    const auto box = testkit::WaitForMessageBox(testkit::kWindowTimeoutMs, run.ProcessId());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->ButtonIds(), (std::vector<int>{IDYES, IDNO}));
    testkit::PressButton(box->window, IDYES);
    EXPECT_EQ(run.WaitForExit(), 0u);
  }
};

TEST_F(StartupTest, WelcomePageAsFirstShownAndACleanCancel) {
  TSetupRun run;
  ASSERT_NE(run.Form(), nullptr);
  EXPECT_EQ(WindowText(run.Form()), L"Zentrova Latvian Spellchecker - Setup");
  EXPECT_EQ(run.Title(), L"Welcome to the Zentrova Latvian Spellchecker");

  HWND welcome = run.Find(L"Static", nullptr);
  bool sawWelcome = false, sawReady = false, sawFinish = false;
  for (HWND label : run.FindAll(L"Static", true)) {
    const std::wstring text = WindowText(label);
    sawWelcome |= text.rfind(L"This program will install the Latvian Spellchecker\r", 0) == 0;
    sawReady |= text.rfind(L"You are now ready to install the Zentrova Latvian Spellchecker.", 0) == 0;
    sawFinish |= text.rfind(L"The Zentrova Latvian Spellchecker has been successfully installed", 0) == 0;
  }
  EXPECT_NE(welcome, nullptr);
  EXPECT_TRUE(sawWelcome);
  EXPECT_TRUE(sawReady);
  EXPECT_TRUE(sawFinish);

  HWND back = run.Need(L"Button", L"< &Back");
  EXPECT_FALSE(IsWindowEnabled(back));
  EXPECT_TRUE(IsWindowEnabled(run.Need(L"Button", L"&Next >")));
  EXPECT_TRUE(IsWindowVisible(run.Need(L"Button", L"Cancel")));
  HWND accept = run.Find(L"Button", L"I &accept all the terms of the above License Agreement", true);
  ASSERT_NE(accept, nullptr);
  EXPECT_EQ(SendMessageW(accept, BM_GETCHECK, 0, 0), BST_CHECKED);
  // No tab strip: the page container has no tabs at all.
  HWND tabs = run.Find(L"SysTabControl32", nullptr, true);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 0);

  // The window that stands for the program on the taskbar carries the icon and the title.
  // (Wine answers WM_GETICON from another process with nothing, so look at the title bar:
  // the icon's carmine shows at its left end.)
  RECT frame;
  GetWindowRect(run.Form(), &frame);
  EXPECT_TRUE(ShowsCarmine({frame.left, frame.top, frame.left + 24, frame.top + 24}))
      << "no icon in the title bar";
  EXPECT_EQ(GetWindow(run.Form(), GW_OWNER), nullptr);
  EXPECT_TRUE(TempLeftovers().empty());  // the logos' temporary file is gone already
  CancelAndConfirm(run);
  EXPECT_FALSE(HasSetting("MAINDIR"));
  EXPECT_FALSE(HasSetting("LAUNCH"));
  EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(StartupTest, ControlsLieWhereTheLayoutPutsThem) {
  TSetupRun run;
  ASSERT_NE(run.Form(), nullptr);
  RECT client;
  GetClientRect(run.Form(), &client);
  EXPECT_EQ(client.right, 492);
  EXPECT_EQ(client.bottom, 351);

  ExpectRect(ByPosition(run, L"SysTabControl32", 120, 41), 120, 41, 375, 268, "PgCtrl");
  ExpectRect(ByPosition(run, L"TPanel", 0, 0), 0, 0, 492, 46, "TopPanel");
  ExpectRect(ByPosition(run, L"TPanel", 0, 46), 0, 46, 123, 301, "LeftPanel");
  ExpectRect(ByPosition(run, L"TPanel", 0, 307), 0, 307, 492, 44, "BottomPanel");
  ExpectRect(ByPosition(run, L"TPanel", 0, 306), 0, 306, 492, 2, "BottomBevelPanel");
  ExpectRect(ByPosition(run, L"TImage", 440, 6), 440, 6, 34, 34, "LogoSmallImage");
  ExpectRect(ByPosition(run, L"TImage", 1, 0), 1, 0, 120, 260, "LogoImage");
  ExpectRect(ByPosition(run, L"TBevel", 121, 0), 121, 0, 2, 301, "LeftBevel");
  ExpectRect(ByPosition(run, L"TBevel", 1, 0), 1, 0, 491, 2, "BottomBevel");
  ExpectRect(run.Find(L"Button", L"< &Back"), 210, 12, 85, 22, "BackBtn");
  ExpectRect(run.Find(L"Button", L"&Next >"), 295, 12, 85, 22, "NextBtn");
  ExpectRect(run.Find(L"Button", L"Cancel"), 392, 12, 85, 22, "CancelBtn");
  ExpectRect(ByPosition(run, L"Static", 12, 27), 12, 27, 349, 115, "WelcomeLbl");
  ExpectRect(ByPosition(run, L"Edit", 12, 25), 12, 25, 345, 207, "LicenseMemo");
  ExpectRect(run.Find(L"Button", L"I &accept all the terms of the above License Agreement", true),
             12, 237, 282, -1, "LicenseChkBx");
  ExpectRect(run.Find(L"Static",
                      L"Please specify the home &folder of Zentrova Word Processor on your computer:",
                      true),
             11, 7, 345, 30, "DestDirLbl");
  ExpectRect(ByPosition(run, L"Edit", 11, 43), 11, 43, 345, -1, "DestDirEdt");
  ExpectRect(ByPosition(run, L"ListBox", 11, 65), 11, 65, 345, 157, "DestDirLstBx");
  ExpectRect(ByPosition(run, L"ComboBox", 11, 225), 11, 225, 345, -1, "DestDirCmbBx");
  ExpectRect(run.Find(L"Button", L"&Launch Zentrova Word Processor", true), 40, 190, 180, -1,
             "FinishChkBx");

  HWND title = ByPosition(run, L"Static", 20, 14);
  ASSERT_NE(title, nullptr);

  // The band behind the title is white, also where no text is; the title is navy.
  HWND top = ByPosition(run, L"TPanel", 0, 0);
  RECT band;
  GetWindowRect(top, &band);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetPixel(screen, band.left + 300, band.top + 23), RGB(255, 255, 255));
  RECT titleRect;
  GetWindowRect(title, &titleRect);
  // A 15-pixel font: the navy glyphs of the title (with a capital and a descender) span
  // about 14 rows, where the dialog's 8-point font would span about 10.
  int firstRow = -1, lastRow = -1;
  for (int y = titleRect.top; y < titleRect.bottom; ++y)
    for (int x = titleRect.left; x < titleRect.right; ++x)
      if (GetPixel(screen, x, y) == RGB(0, 0, 128)) {
        if (firstRow < 0) firstRow = y;
        lastRow = y;
        break;
      }
  ASSERT_GE(firstRow, 0) << "no navy text in the title";
  EXPECT_GE(lastRow - firstRow + 1, 13);
  EXPECT_LE(lastRow - firstRow + 1, 16);
  ReleaseDC(nullptr, screen);
}

class HomeFolderTest : public StartupTest {
 protected:
  void ExpectProposal(const std::string& args, const std::string& expected) {
    TSetupRun run(args);
    ASSERT_NE(run.Form(), nullptr);
    EXPECT_EQ(WindowText(EditOf(run)), W(expected))
        << "arguments: " << args;
  }
  static HWND EditOf(const TSetupRun& run) { return ByPosition(run, L"Edit", 11, 43); }
  static bool LaunchChecked(const TSetupRun& run) {
    HWND box = run.Find(L"Button", L"&Launch Zentrova Word Processor", true);
    return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
};

TEST_F(HomeFolderTest, ProposalFromTheDefaultTheRegistryAndTheCommandLine) {
  const std::string fallback = ProgramFiles() + "\\Zentrova";
  {
    TSetupRun run;  // no key at all: the key is made, the default proposed, launch checked
    EXPECT_EQ(WindowText(EditOf(run)), W(fallback));
    EXPECT_TRUE(LaunchChecked(run));
    HKEY key;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  const std::string home = MakeHome();
  PutSetting("MAINDIR", REG_SZ, home.c_str(), static_cast<DWORD>(home.size() + 1));
  const DWORD zero = 0, seven = 7;
  PutSetting("LAUNCH", REG_DWORD, &zero, 4);
  {
    TSetupRun run;
    EXPECT_EQ(WindowText(EditOf(run)), W(home));
    EXPECT_FALSE(LaunchChecked(run));
    // The folder tree list shows the same folder as its current (selected) item.
    HWND list = ByPosition(run, L"ListBox", 11, 65);
    ASSERT_NE(list, nullptr);
    const LRESULT sel = SendMessageW(list, LB_GETCURSEL, 0, 0);
    wchar_t text[MAX_PATH] = {};
    SendMessageW(list, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(_wcsicmp(text, W(home).c_str()), 0);
  }
  PutSetting("LAUNCH", REG_DWORD, &seven, 4);
  ExpectProposal("-dD:\\Word", "D:\\Word");
  ExpectProposal("-DD:\\Word", home);
  ExpectProposal("x -dD:\\Word", home);
  ExpectProposal("\"-dC:\\Some Folder\\Not There\"", "C:\\Some Folder\\Not There");

  const std::string gone = home + "\\gone";
  PutSetting("MAINDIR", REG_SZ, gone.c_str(), static_cast<DWORD>(gone.size() + 1));
  TSetupRun run;
  EXPECT_EQ(WindowText(EditOf(run)), W(fallback));
  EXPECT_TRUE(LaunchChecked(run));
}

TEST_F(HomeFolderTest, AFolderThatDoesNotExistShowsItsNearestAncestorInTheList) {
  const std::string home = MakeHome();
  TSetupRun run("\"-d" + home + "\\Missing\\Deeper\"");
  EXPECT_EQ(WindowText(EditOf(run)), W(home + "\\Missing\\Deeper"));
  HWND list = ByPosition(run, L"ListBox", 11, 65);
  ASSERT_NE(list, nullptr);
  wchar_t text[MAX_PATH] = {};
  SendMessageW(list, LB_GETTEXT, SendMessageW(list, LB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(_wcsicmp(text, W(home).c_str()), 0);
}

TEST(DamagedPayload, IsReportedInABoxAndEndsWithExitCodeOne) {
  const testkit::TProcess setup("\"" + WinePath(DAMAGED_SETUP) + "\"");
  ASSERT_TRUE(setup.Started());
  const auto box = testkit::WaitForMessageBox(testkit::kWindowTimeoutMs, setup.Id());
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, L"Zentrova Latvian Spellchecker - Setup");
  EXPECT_NE(box->text.find(L"damaged"), std::wstring::npos);
  EXPECT_EQ(box->icon, testkit::TBoxIcon::Error);
  testkit::PressButton(box->window, IDOK);
  EXPECT_EQ(setup.WaitForExit(15000), 1u);
}

// Polls the (possibly hidden) home-folder edit until it reads `expected`.
bool WaitForEdit(HWND edit, const std::wstring& expected, DWORD timeoutMs = 8000) {
  const DWORD start = GetTickCount();
  while (_wcsicmp(WindowText(edit).c_str(), expected.c_str()) != 0) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

TEST_F(HomeFolderTest, ADriveThatComesIsProposedAndTheProgramFilesDriveWhenItGoes) {
  const std::string home = MakeHome();
  TSetupRun run("\"-d" + home + "\"");
  HWND edit = EditOf(run);
  ASSERT_NE(edit, nullptr);
  const std::string driveFolder = folder_.MakeFolder("new drive");
  ASSERT_TRUE(DefineDosDeviceA(0, "X:", driveFolder.c_str()));
  const bool followed = WaitForEdit(edit, L"x:\\Zentrova");
  DefineDosDeviceA(DDD_REMOVE_DEFINITION, "X:", nullptr);
  ASSERT_TRUE(followed) << "edit reads " << std::string(WindowText(edit).begin(), WindowText(edit).end());
  HWND drives = ByPosition(run, L"ComboBox", 11, 225);
  wchar_t item[64] = {};
  SendMessageW(drives, CB_GETLBTEXT, SendMessageW(drives, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(std::wstring(item).rfind(L"x:", 0), 0u);
  EXPECT_TRUE(WaitForEdit(edit, W(ProgramFiles() + "\\Zentrova")));
}

// A drive letter defined for the owner's lifetime, as plugging in a drive makes one.
class TDriveLetter {
 public:
  TDriveLetter(const char* drive, const std::string& folder) : drive_(drive) {
    defined_ = DefineDosDeviceA(0, drive, folder.c_str());
  }
  ~TDriveLetter() { Remove(); }
  bool Defined() const { return defined_; }
  void Remove() {
    if (defined_) DefineDosDeviceA(DDD_REMOVE_DEFINITION, drive_, nullptr);
    defined_ = false;
  }

 private:
  const char* drive_;
  bool defined_ = false;
};

// Polls until `done` holds (the drive list is rebuilt on a one-second timer).
template <typename TDone>
bool WaitUntil(TDone done, DWORD timeoutMs = 8000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

std::wstring SelectedItemText(HWND list) {
  const LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
  wchar_t item[64] = {};
  if (selected != CB_ERR)
    SendMessageW(list, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(item));
  return item;
}

TEST_F(HomeFolderTest, DrivesComingOrGoingElsewhereLeaveTheChoiceAlone) {
  const std::string driveFolder = folder_.MakeFolder("other drive");
  TDriveLetter other("Y:", driveFolder);
  ASSERT_TRUE(other.Defined());
  TSetupRun run("-dE:\\Zentrova");  // e: is chosen
  HWND edit = EditOf(run);
  HWND drives = ByPosition(run, L"ComboBox", 11, 225);
  ASSERT_NE(drives, nullptr);
  const LRESULT count = SendMessageW(drives, CB_GETCOUNT, 0, 0);  // Y: among them
  ASSERT_EQ(SelectedItemText(drives).rfind(L"e:", 0), 0u);

  other.Remove();  // another drive goes: e: stays chosen, found again by its text
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(drives, CB_GETCOUNT, 0, 0) == count - 1; }));
  EXPECT_EQ(SelectedItemText(drives).rfind(L"e:", 0), 0u);
  EXPECT_EQ(WindowText(edit), L"E:\\Zentrova");

  // Only A: comes, which the list never shows: the list is rebuilt and nothing is chosen.
  TDriveLetter floppy("A:", driveFolder);
  ASSERT_TRUE(floppy.Defined());
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(drives, CB_GETCURSEL, 0, 0) == CB_ERR; }));
  EXPECT_EQ(SendMessageW(drives, CB_GETCOUNT, 0, 0), count - 1);
  EXPECT_EQ(WindowText(edit), L"E:\\Zentrova");
}

TEST_F(HomeFolderTest, ClickingTheRootItemProposesZentrovaOnThatDrive) {
  const std::string home = MakeHome();
  TSetupRun run("\"-d" + home + "\"");
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"License Agreement"));
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"Specify Home Folder"));
  HWND list = ByPosition(run, L"ListBox", 11, 65);
  ASSERT_NE(list, nullptr);
  RECT first;
  SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  const LPARAM at = MAKELPARAM((first.left + first.right) / 2, (first.top + first.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(WaitForEdit(EditOf(run), W(home.substr(0, 2)) + L"\\Zentrova"));
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
}

}  // namespace
}  // namespace e2e
