// What Setup.exe is handed when it starts: a "-d" option that is too long, not
// representable, oddly quoted or relative, and settings in the shared registry key of the
// wrong type or size. The wizard must start, show what it can, and refuse a wrong folder
// with its message, never crash.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "tests/hardening/Hardening.h"

namespace e2e {
namespace {

using testkit::WindowText;

const wchar_t kLaunchBox[] = L"&Launch Zentrova Word Processor";

std::wstring W(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// Text as it comes back from a control: through the ANSI code page, "?" for every character
// without a place there (never a look-alike letter), and back.
std::wstring ThroughAnsi(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                    static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(n, '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                      narrow.data(), n, nullptr, nullptr);
  std::wstring wide(narrow.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, narrow.data(), n, wide.data(), n));
  return wide;
}

std::string DefaultProposal() {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, path);
  return std::string(path) + "\\Zentrova";
}

// The home-folder edit, shown or not: the one single-line edit box of the wizard.
HWND HomeEdit(const TSetupRun& run) {
  for (HWND edit : run.FindAll(L"Edit", true))
    if (!(GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE)) return edit;
  return nullptr;
}

bool LaunchChecked(const TSetupRun& run) {
  HWND box = run.Find(L"Button", kLaunchBox, true);
  return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

using StartInputTest = WizardTest;

TEST_F(StartInputTest, BadHomeFolderOptionsAreShownAndRefusedOnNext) {
  MakeHome();  // "Zentrova Home" in the test folder, the current folder of the relative case
  // Where best fit would take "Rīki" on a Western system.
  MakeHome("Riki");
  const std::wstring latvian = W(folder_ / "R") + L"\u012Bki";
  ASSERT_EQ(GetFileAttributesA("C:\\Zentrova"), INVALID_FILE_ATTRIBUTES);
  const std::wstring longFolder = L"C:\\" + std::wstring(997, L'x');
  const std::wstring foreign = L"C:\\Dz\u012Bvok\u013Ca mape\\\u4E2D\u6587\\\U0001F600";
  struct TCase {
    const char* what;
    std::wstring arguments;
    std::wstring shown;      // in the edit box at start
    std::wstring refused;    // in the edit box after Next, cleaned; empty: "<drive>:\Zentrova"
  } cases[] = {
      {"1,000 characters", L"-d" + longFolder, longFolder, longFolder},
      {"outside code page 1252", L"\"-d" + foreign + L"\"", foreign, ThroughAnsi(foreign)},
      {"a look-alike of a real home", L"\"-d" + latvian + L"\"", latvian, ThroughAnsi(latvian)},
      {"quotes inside the option", L"-d\"C:\\Some Folder\"\\Deeper \"x y\"",
       L"C:\\Some Folder\\Deeper", L"C:\\Some Folder\\Deeper"},
      {"a quote left open, blanks around", L"\"-d  C:\\Open Quote  ", L"  C:\\Open Quote  ",
       L"C:\\Open Quote"},
      {"a relative folder", L"\"-dZentrova Home\"", L"Zentrova Home", L""},
      {"no folder at all", L"-d", L"", L""},
      {"a device path to a real home", L"\"-d\\\\.\\" + W(folder_ / "Zentrova Home") + L"\"",
       L"\\\\.\\" + W(folder_ / "Zentrova Home"), L"\\\\.\\" + W(folder_ / "Zentrova Home")},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TSetupRun run(c.arguments, "", folder_.Path());
    ASSERT_NE(run.Form(), nullptr);
    EXPECT_EQ(WindowText(HomeEdit(run)), c.shown);
    WalkToHomePage(run);
    run.Next();
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text.rfind(L"The specified folder does not contain a properly installed", 0), 0u);
    testkit::PressButton(box->window, IDOK);
    ASSERT_TRUE(testkit::WaitForWindowGone(box->window, 5000));
    EXPECT_EQ(run.Title(), L"Specify Home Folder");
    const std::wstring cleaned = WindowText(HomeEdit(run));
    if (c.refused.empty()) {
      // No drive in the text: the drive list's drive and the default folder name.
      EXPECT_EQ(cleaned.size(), 11u) << std::string(cleaned.begin(), cleaned.end());
      EXPECT_EQ(cleaned.substr(1), L":\\Zentrova");
    } else {
      EXPECT_EQ(cleaned, c.refused);
    }
  }
}

TEST_F(StartInputTest, SettingsOfTheWrongTypeOrSizeGiveASensibleStart) {
  const std::string home = MakeHome();
  const std::string fallback = DefaultProposal();
  const DWORD one = 1, zero = 0;
  const BYTE twoBytes[2] = {0, 0}, eightBytes[8] = {};
  const char driveRoot[4] = {'C', ':', '\\', '\0'};  // a REG_DWORD whose bytes spell C:\ .
  const std::string tooLong = "C:\\" + std::string(10000, 'a');
  struct TCase {
    const char* what;
    DWORD mainType;
    const void* main;
    DWORD mainSize;
    DWORD launchType;
    const void* launch;
    DWORD launchSize;
    std::string proposal;
    bool launchChecked;
  } cases[] = {
      {"MAINDIR a number, LAUNCH a string", REG_DWORD, &one, 4, REG_SZ, "0", 2, fallback, true},
      {"MAINDIR bytes without a NUL, LAUNCH two bytes", REG_BINARY, home.data(),
       static_cast<DWORD>(home.size()), REG_BINARY, twoBytes, 2, home, true},
      {"MAINDIR empty, LAUNCH a real zero", REG_SZ, "", 0, REG_DWORD, &zero, 4, fallback, false},
      {"MAINDIR a number spelling a folder, LAUNCH eight bytes", REG_DWORD, driveRoot, 4,
       REG_QWORD, eightBytes, 8, "C:\\", true},
      {"MAINDIR 10,000 characters, LAUNCH empty", REG_SZ, tooLong.c_str(),
       static_cast<DWORD>(tooLong.size() + 1), REG_DWORD, "", 0, fallback, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    PutSetting("MAINDIR", c.mainType, c.main, c.mainSize);
    PutSetting("LAUNCH", c.launchType, c.launch, c.launchSize);
    TSetupRun run;
    ASSERT_NE(run.Form(), nullptr);
    EXPECT_EQ(WindowText(HomeEdit(run)), W(c.proposal));
    EXPECT_EQ(LaunchChecked(run), c.launchChecked);
  }
}

}  // namespace
}  // namespace e2e
