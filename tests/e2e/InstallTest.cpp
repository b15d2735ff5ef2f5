// Whole installations through the wizard, shared and portable, with the stand-in word
// processor: the files written and kept, the records left for the word processor, the
// settings, the launch, and every way a page or a failed file can end the run.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "instutils/DateTime.h"
#include "payload/Inflate.h"
#include "payload/PayloadFormat.h"
#include "resources/SetupVersion.h"
#include "resources/SetupResources.h"
#include "tests/common/TestProcess.h"
#include "tests/common/WindowDriver.h"
#include "tests/e2e/WizardFixture.h"

namespace e2e {
namespace {

using testkit::FileExists;
using testkit::ReadWholeFile;

const char* const kModuleFiles[] = {"Latvian.asc", "hunspell.dll", "lv_LV.dic",
                                    "lv_LV.aff",   "userdiclv.tlx", "Latvian.hyph"};

// The payload inside the built Setup.exe, read as the program itself reads it.
struct TPayload {
  std::vector<std::uint8_t> data;
  std::vector<payload::EntryView> entries;

  TPayload() {
    HMODULE setup = LoadLibraryExA(Built.setupExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC res = FindResourceA(setup, SETUP_RESOURCE_NAME(PAYLOAD_FILES), SETUP_RESOURCE_NAME(PAYLOAD_FILES));
    const auto* packed = static_cast<const std::uint8_t*>(LockResource(LoadResource(setup, res)));
    const DWORD size = SizeofResource(setup, res);
    const auto inflated = payload::InflateBuffer(packed, size, 5 * size);
    data.assign(inflated.begin(), inflated.end());
    entries = payload::WalkEntries(data.data(), data.size());
    FreeLibrary(setup);
  }
  const payload::EntryView& Entry(const std::string& name) const {
    return *std::find_if(entries.begin(), entries.end(),
                         [&](const payload::EntryView& e) { return e.name == name; });
  }
  std::string Bytes(const std::string& name) const {
    const auto& e = Entry(name);
    return std::string(reinterpret_cast<const char*>(data.data() + e.dataOffset), e.size);
  }
};

const TPayload& Payload() {
  static const TPayload p;
  return p;
}

// A file's last-write time as the file system keeps it: local, even seconds.
double FileDate(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA a;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a)) return -1;
  FILETIME local;
  WORD date = 0, time = 0;
  FileTimeToLocalFileTime(&a.ftLastWriteTime, &local);
  FileTimeToDosDateTime(&local, &date, &time);
  return inst::DosDateTimeToDate(date, time);
}

void SetFileDate(const std::string& path, double value) {
  std::uint16_t date = 0, time = 0;
  ASSERT_TRUE(inst::DateToDosDateTime(value, date, time));
  FILETIME local, utc;
  DosDateTimeToFileTime(date, time, &local);
  LocalFileTimeToFileTime(&local, &utc);
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(f, nullptr, nullptr, &utc);
  CloseHandle(f);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

bool InstalledAsInPayload(const std::string& path, const std::string& entry) {
  return ReadWholeFile(path) == Payload().Bytes(entry) && FileDate(path) == Payload().Entry(entry).date;
}

HWND FindHostWindow() {
  struct T {
    static BOOL CALLBACK Visit(HWND w, LPARAM found) {
      if (!GetPropA(w, "1.x Quillmarsh")) return TRUE;
      *reinterpret_cast<HWND*>(found) = w;
      return FALSE;
    }
  };
  HWND found = nullptr;
  EnumWindows(T::Visit, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND WaitForHostWindow(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  HWND w;
  while (!(w = FindHostWindow()) && GetTickCount() - start < timeoutMs) Sleep(50);
  return w;
}

// Whether a copy of the stand-in word processor runs. Asked once Setup.exe has ended, when
// a start it made would already be a process.
bool HostProcessRunning() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
       more = Process32NextW(snapshot, &entry))
    found = _wcsicmp(entry.szExeFile, L"qzv.exe") == 0;
  CloseHandle(snapshot);
  return found;
}

void CloseHostWindows() {
  for (int i = 0; i < 20; ++i) {
    HWND w = FindHostWindow();
    if (!w) return;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (p) {
      TerminateProcess(p, 0);
      WaitForSingleObject(p, 5000);
      CloseHandle(p);
    }
  }
}

// The local time now as the word processor's report writes date-times.
std::string LocalNowText() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[32];
  snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
           t.wMinute, t.wSecond);
  return text;
}

class InstallTest : public WizardTest {
 protected:
  ~InstallTest() override { CloseHostWindows(); }

  std::string Public(const char* sub) const { return SharedZentrova() + "\\Public\\" + sub; }

  static void Install(TSetupRun& run) {
    run.Next();
    ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
  }
  // Finish with the launch box set as asked; the wizard must end with exit code 0.
  static void FinishWith(TSetupRun& run, bool launch) {
    run.SetCheck(L"&Launch Zentrova Word Processor", launch);
    run.Finish();
    EXPECT_EQ(run.WaitForExit(), 0u);
  }
  // The shared data folder and its Hidden folder, as the word processor's own installation
  // leaves them.
  void MakeRecordsFolders() const {
    CreateDirectoryA(SharedZentrova().c_str(), nullptr);
    CreateDirectoryA((SharedZentrova() + "\\Hidden").c_str(), nullptr);
  }
  void StartHost() {
    host_ = testkit::TProcess("\"" + Built.hostExe + "\"");
    ASSERT_TRUE(host_.Started());
    ASSERT_NE(WaitForHostWindow(15000), nullptr);
  }
  // What the word processor in home reports (qzv.exe /report), run to its end.
  std::string HostReport(const std::string& home) const {
    const std::string report = folder_ / "host-report.txt";
    const testkit::TProcess host("\"" + home + "\\qzv.exe\" /report \"" + report + "\"");
    if (!host.Started()) return "";
    EXPECT_NE(host.WaitForExit(60000), STILL_ACTIVE);
    return ReadWholeFile(report);
  }
  std::vector<std::string> LogLines() const {
    std::string text = ReadWholeFile(SharedZentrova() + "\\Update.log");
    std::vector<std::string> lines;
    std::size_t start = 0, end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
      lines.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
  }

 private:
  testkit::TProcess host_;  // the word processor StartHost started
};

TEST_F(InstallTest, SharedInstallationWritesEverythingAndRecordsIt) {
  const std::string home = MakeHome();
  MakeRecordsFolders();
  CreateDirectoryA((SharedZentrova() + "\\Public").c_str(), nullptr);
  CreateDirectoryA(Public("Spellcheck").c_str(), nullptr);
  CreateDirectoryA(Public("Orthographe").c_str(), nullptr);
  WriteFile(Public("Spellcheck\\userdiclv.tlx"), "my own words");
  const std::string started = LocalNowText();
  {
    TSetupRun run;
    WalkToReady(run, home);
    Install(run);
    FinishWith(run, false);
  }
  const std::string finished = LocalNowText();
  std::vector<std::string> expected;
  for (const char* sub : {"Spellcheck\\", "Orthographe\\"})
    for (const char* file : kModuleFiles) {
      const std::string path = Public(sub) + file;
      EXPECT_TRUE(InstalledAsInPayload(path, file)) << path;  // the user's list too
      expected.push_back(path + (std::string(file) == "userdiclv.tlx" ? "\t!" : ""));
    }
  std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.c_str(), -1,
                          b.c_str(), -1) == CSTR_LESS_THAN;
  });

  const std::string stamp = ReadWholeFile(SharedZentrova() + "\\Hidden\\install_stamp");
  ASSERT_EQ(stamp.size(), 8u);
  std::string stampLine = "*";
  for (unsigned char b : stamp) {
    static const char hex[] = "0123456789ABCDEF";
    stampLine += hex[b >> 4];
    stampLine += hex[b & 15];
  }
  std::vector<std::string> log = LogLines();
  ASSERT_EQ(log.size(), 13u);
  EXPECT_EQ(log[0], stampLine);
  EXPECT_EQ(std::vector<std::string>(log.begin() + 1, log.end()), expected);
  EXPECT_EQ(ReadMainDir(), home);
  EXPECT_EQ(ReadLaunch(), 0u);
  EXPECT_FALSE(HostProcessRunning());  // the launch box was cleared
  EXPECT_TRUE(TempLeftovers().empty());

  // The word processor reads both records alike: the same stamp, standing for the moment of
  // Finish, and the twelve files, the user's lists marked, one of them gone since.
  ASSERT_TRUE(DeleteFileA(Public("Orthographe\\Latvian.asc").c_str()));
  std::string report = HostReport(home);
  const std::string stampShown = "  Install stamp: " + stampLine + ", ";
  const size_t at = report.find(stampShown);
  ASSERT_NE(at, std::string::npos) << report;
  const std::string when = report.substr(at + stampShown.size(), started.size());
  EXPECT_TRUE(started <= when && when <= finished) << when << " outside the run's time";
  EXPECT_NE(report.find("  Last stamp line of the update log: " + stampLine + ", " + when + "\r\n"
                        "  The install stamp and the last stamp line are the same 8 bytes.\r\n"),
            std::string::npos) << report;
  for (const std::string& line : expected) {
    const bool marked = line.ends_with("\t!");
    const std::string path = marked ? line.substr(0, line.size() - 2) : line;
    const char* state = path == Public("Orthographe\\Latvian.asc") ? "missing" : "present";
    EXPECT_NE(report.find("    " + path + ": " + state + (marked ? ", marked !" : "") + "\r\n"),
              std::string::npos) << path << "\n" << report;
  }
  // A stamp of another installation (the date-time 1.0) no longer matches the log.
  WriteFile(SharedZentrova() + "\\Hidden\\install_stamp",
            std::string("\0\0\0\0\0\0\xF0\x3F", 8));
  report = HostReport(home);
  EXPECT_NE(report.find("  Install stamp: *000000000000F03F, 1899-12-31 00:00:00\r\n"),
            std::string::npos) << report;
  EXPECT_NE(report.find("  The install stamp and the last stamp line differ.\r\n"),
            std::string::npos) << report;
}

TEST_F(InstallTest, PortableInstallationKeepsWhatTheModesKeep) {
  // e: is a removable drive of the test machine.
  const std::string home = "E:\\Portable Home " + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(home.c_str(), nullptr);
  CopyFileA(Built.hostExe.c_str(), (home + "\\qzv.exe").c_str(), FALSE);
  const double payloadDate = Payload().Entry("lv_LV.dic").date;
  for (const char* sub : {"\\Spellcheck\\", "\\Orthographe\\"}) {
    const std::string dir = home + sub;
    CreateDirectoryA(dir.c_str(), nullptr);
    WriteFile(dir + "userdiclv.tlx", "my own words");
    WriteFile(dir + "Latvian.asc", "old descriptor");
    SetFileDate(dir + "Latvian.asc", payloadDate);
    WriteFile(dir + "lv_LV.dic", "same date, kept");
    SetFileDate(dir + "lv_LV.dic", payloadDate);
    WriteFile(dir + "lv_LV.aff", "older, replaced");
    SetFileDate(dir + "lv_LV.aff", payloadDate - 10);
  }
  {
    TSetupRun run;
    WalkToReady(run, home);
    Install(run);
    FinishWith(run, false);
  }
  for (const char* sub : {"\\Spellcheck\\", "\\Orthographe\\"}) {
    const std::string dir = home + sub;
    EXPECT_EQ(ReadWholeFile(dir + "userdiclv.tlx"), "my own words");
    EXPECT_TRUE(InstalledAsInPayload(dir + "Latvian.asc", "Latvian.asc"));
    EXPECT_EQ(ReadWholeFile(dir + "lv_LV.dic"), "same date, kept");
    EXPECT_TRUE(InstalledAsInPayload(dir + "lv_LV.aff", "lv_LV.aff"));
    EXPECT_TRUE(InstalledAsInPayload(dir + "hunspell.dll", "hunspell.dll"));
    EXPECT_TRUE(InstalledAsInPayload(dir + "Latvian.hyph", "Latvian.hyph"));
  }
  EXPECT_FALSE(FileExists(SharedZentrova() + "\\Hidden\\install_stamp"));
  EXPECT_FALSE(FileExists(SharedZentrova() + "\\Update.log"));
  // The word processor finds no records, and hyphenates with the patterns installed here.
  const std::string report = HostReport(home);
  EXPECT_NE(report.find("  none: no install stamp and no update log\r\n"), std::string::npos)
      << report;
  EXPECT_NE(report.find("Patterns: " + home + "\\Spellcheck\\Latvian.hyph (UTF-8)\r\n"
                        "Hyphenated: uz-"),
            std::string::npos) << report;
  testkit::RemoveTreeForce(std::wstring(home.begin(), home.end()));
}

TEST_F(InstallTest, OnlyExistingModuleFoldersReceiveFilesElseTheFirstIsMade) {
  const std::string home = MakeHome();
  CreateDirectoryA(SharedZentrova().c_str(), nullptr);
  CreateDirectoryA((SharedZentrova() + "\\Public").c_str(), nullptr);
  CreateDirectoryA(Public("Orthographe").c_str(), nullptr);
  {
    TSetupRun run;
    WalkToReady(run, home);
    Install(run);
    FinishWith(run, false);
  }
  EXPECT_TRUE(InstalledAsInPayload(Public("Orthographe\\lv_LV.aff"), "lv_LV.aff"));
  EXPECT_FALSE(testkit::FolderIsThere(Public("Spellcheck")));

  const std::string shared = SharedZentrova();
  testkit::RemoveTreeForce(L"\\\\?\\" + std::wstring(shared.begin(), shared.end()));
  {
    TSetupRun run;
    WalkToReady(run, home);
    Install(run);
    FinishWith(run, false);
  }
  EXPECT_TRUE(InstalledAsInPayload(Public("Spellcheck\\lv_LV.aff"), "lv_LV.aff"));
  EXPECT_FALSE(testkit::FolderIsThere(Public("Orthographe")));
}

TEST_F(InstallTest, LaunchStartsTheWordProcessorFromAFolderWithSpaces) {
  const std::string home = MakeHome("Word Processor With Spaces");
  TSetupRun run;
  WalkToReady(run, home);
  Install(run);
  FinishWith(run, true);
  EXPECT_NE(WaitForHostWindow(15000), nullptr);
  EXPECT_EQ(ReadLaunch(), 1u);
}

TEST_F(InstallTest, ARunningWordProcessorHoldsTheWelcomeAndReadyPages) {
  const std::string home = MakeHome();
  StartHost();
  TSetupRun run;
  run.Next();
  auto box = Box(run);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text.rfind(L"There are running instances of Zentrova Word Processor", 0), 0u);
  EXPECT_EQ(box->icon, testkit::TBoxIcon::Information);
  testkit::PressButton(box->window, IDOK);
  ASSERT_TRUE(testkit::WaitForWindowGone(box->window, 5000));
  ASSERT_TRUE(run.WaitForTitle(L"Welcome to the Zentrova Latvian Spellchecker"));
  EXPECT_NE(run.Find(L"Button", L"&Next >"), nullptr);
  EXPECT_NE(run.Find(L"Button", L"Cancel"), nullptr);
  HWND memo = nullptr;
  for (HWND e : run.FindAll(L"Edit", true))
    if (GetWindowLongW(e, GWL_STYLE) & ES_MULTILINE) memo = e;
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(SendMessageW(memo, WM_GETTEXTLENGTH, 0, 0), 0);  // the licence was not loaded

  CloseHostWindows();
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"License Agreement"));
  run.Back();
  ASSERT_TRUE(run.WaitForTitle(L"Welcome to the Zentrova Latvian Spellchecker"));
  StartHost();
  run.Next();  // the licence is loaded: the second move asks for no running copy
  ASSERT_TRUE(run.WaitForTitle(L"License Agreement"));
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"Specify Home Folder"));
  run.SetEditText(home);
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"Ready to Install"));
  run.Next();
  box = Box(run);
  ASSERT_TRUE(box.has_value());
  testkit::PressButton(box->window, IDOK);
  ASSERT_TRUE(testkit::WaitForWindowGone(box->window, 5000));
  EXPECT_EQ(run.Title(), L"Ready to Install");
  EXPECT_FALSE(testkit::FolderIsThere(Public("Spellcheck")));
}

TEST_F(InstallTest, LicenceFolderAndCloseQuestions) {
  const std::string home = MakeHome();
  TSetupRun run;
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"License Agreement"));
  run.Back();
  ASSERT_TRUE(run.WaitForTitle(L"Welcome to the Zentrova Latvian Spellchecker"));
  run.Next();  // the licence is loaded once: no second temporary file, no test of the host
  ASSERT_TRUE(run.WaitForTitle(L"License Agreement"));

  run.SetCheck(L"I &accept all the terms of the above License Agreement", false);
  run.Back();  // unticked and Back: no question
  ASSERT_TRUE(run.WaitForTitle(L"Welcome to the Zentrova Latvian Spellchecker"));
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"License Agreement"));
  run.Next();
  auto box = Box(run);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text.rfind(L"To install this program, you need to agree", 0), 0u);
  EXPECT_EQ(box->ButtonIds(), (std::vector<int>{IDYES, IDNO}));
  testkit::PressButton(box->window, IDNO);
  ASSERT_TRUE(testkit::WaitForWindowGone(box->window, 5000));
  EXPECT_EQ(run.Title(), L"License Agreement");

  run.SetCheck(L"I &accept all the terms of the above License Agreement", true);
  run.Key(VK_ESCAPE);  // the licence text has the focus; Esc still asks to close
  box = Box(run);
  ASSERT_TRUE(box.has_value());
  testkit::PressButton(box->window, IDNO);
  ASSERT_TRUE(testkit::WaitForWindowGone(box->window, 5000));
  run.Key(VK_RETURN);  // and Enter presses Next
  ASSERT_TRUE(run.WaitForTitle(L"Specify Home Folder"));
  run.SetEditText("  " + folder_.Path() + "  ");  // no qzv.exe there
  run.Next();
  box = Box(run);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text.rfind(L"The specified folder does not contain", 0), 0u);
  testkit::PressButton(box->window, IDOK);
  ASSERT_TRUE(testkit::WaitForWindowGone(box->window, 5000));
  EXPECT_EQ(run.Title(), L"Specify Home Folder");
  std::string cleaned = folder_.Path();
  cleaned.pop_back();
  EXPECT_EQ(run.EditText(), std::wstring(cleaned.begin(), cleaned.end()));

  run.Cancel();  // No keeps everything
  box = Box(run);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text.rfind(L"Setup is not complete.", 0), 0u);
  testkit::PressButton(box->window, IDNO);
  ASSERT_TRUE(testkit::WaitForWindowGone(box->window, 5000));
  EXPECT_EQ(run.Title(), L"Specify Home Folder");
  run.Key(VK_ESCAPE);  // Esc takes the same road; Yes ends the wizard
  box = Box(run);
  ASSERT_TRUE(box.has_value());
  testkit::PressButton(box->window, IDYES);
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_FALSE(HasSetting("MAINDIR"));  // nothing was installed, nothing saved
  EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(InstallTest, ALicenceThatCannotBeWrittenEndsTheWizardOnAbortWithoutAQuestion) {
  TSetupRun run(L"", WinePath(SETUP_WITHOUT_LICENCE));  // logos, but no licence to write
  ASSERT_NE(run.Form(), nullptr);
  run.Next();
  const auto box = Box(run);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text.rfind(L"Cannot create file \"", 0), 0u);
  EXPECT_EQ(box->ButtonIds(), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
  testkit::PressButton(box->window, IDABORT);
  EXPECT_EQ(run.WaitForExit(), 0u);  // no close question holds it
  EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(InstallTest, NoToTheLicenceQuestionKeepsThePageYesEndsWithoutAnotherQuestion) {
  TSetupRun run;
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"License Agreement"));
  run.SetCheck(L"I &accept all the terms of the above License Agreement", false);
  run.Next();
  auto box = Box(run);
  ASSERT_TRUE(box.has_value());
  testkit::PressButton(box->window, IDYES);
  EXPECT_EQ(run.WaitForExit(), 0u);
}

TEST_F(InstallTest, CloseBoxOnTheFinishPageAsksAndYesSkipsTheFinishStep) {
  const std::string home = MakeHome();
  MakeRecordsFolders();
  TSetupRun run;
  WalkToReady(run, home);
  Install(run);
  run.Key(VK_ESCAPE);  // no Cancel button on the finish page: Esc does nothing,
  run.AltKey('L');     // and the next key still reaches the page (typed keys keep order)
  ASSERT_TRUE(run.WaitForCheck(L"&Launch Zentrova Word Processor", false));
  run.CloseBox();
  auto box = Box(run);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text.rfind(L"Setup is not complete.", 0), 0u);
  testkit::PressButton(box->window, IDYES);
  EXPECT_EQ(run.WaitForExit(), 0u);
  EXPECT_FALSE(FileExists(SharedZentrova() + "\\Hidden\\install_stamp"));
  EXPECT_FALSE(FileExists(SharedZentrova() + "\\Update.log"));
  EXPECT_EQ(ReadMainDir(), home);  // the installation was started: settings saved at exit
  EXPECT_FALSE(HostProcessRunning());
}

class HeldFileTest : public InstallTest {
 protected:
  // A shared installation whose third file (lv_LV.dic) is held open by another program.
  void StartWithHeldFile(TSetupRun& run, testkit::TFileHolder*& holder) {
    home_ = MakeHome();
    MakeRecordsFolders();
    CreateDirectoryA((SharedZentrova() + "\\Public").c_str(), nullptr);
    CreateDirectoryA(Public("Spellcheck").c_str(), nullptr);
    holder = new testkit::TFileHolder(Public("Spellcheck\\lv_LV.dic"));
    ASSERT_TRUE(holder->Holding());
    WalkToReady(run, home_);
    run.Next();
    box_ = Box(run);
    ASSERT_TRUE(box_.has_value());
    EXPECT_EQ(box_->text.rfind(L"Cannot create file \"", 0), 0u);
    EXPECT_EQ(box_->ButtonIds(), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
  }
  std::string home_;
  std::optional<testkit::TMessageBox> box_;
};

TEST_F(HeldFileTest, AbortKeepsTheFirstFilesAndSavesTheSettings) {
  TSetupRun run;
  testkit::TFileHolder* holder = nullptr;
  StartWithHeldFile(run, holder);
  ASSERT_TRUE(box_.has_value());
  testkit::PressButton(box_->window, IDABORT);
  EXPECT_EQ(run.WaitForExit(), 0u);
  delete holder;
  EXPECT_TRUE(InstalledAsInPayload(Public("Spellcheck\\Latvian.asc"), "Latvian.asc"));
  EXPECT_TRUE(InstalledAsInPayload(Public("Spellcheck\\hunspell.dll"), "hunspell.dll"));
  EXPECT_FALSE(FileExists(Public("Spellcheck\\lv_LV.aff")));
  EXPECT_FALSE(FileExists(SharedZentrova() + "\\Hidden\\install_stamp"));
  EXPECT_FALSE(FileExists(SharedZentrova() + "\\Update.log"));
  EXPECT_EQ(ReadMainDir(), home_);
}

TEST_F(HeldFileTest, RetryAfterReleaseCompletesTheFile) {
  TSetupRun run;
  testkit::TFileHolder* holder = nullptr;
  StartWithHeldFile(run, holder);
  ASSERT_TRUE(box_.has_value());
  delete holder;
  testkit::PressButton(box_->window, IDRETRY);
  ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
  FinishWith(run, false);
  EXPECT_TRUE(InstalledAsInPayload(Public("Spellcheck\\lv_LV.dic"), "lv_LV.dic"));
}

TEST_F(HeldFileTest, IgnoreGoesOnAndTheFileKeepsItsOldEntryInTheLog) {
  TSetupRun run;
  testkit::TFileHolder* holder = nullptr;
  StartWithHeldFile(run, holder);
  ASSERT_TRUE(box_.has_value());
  const std::string dic = Public("Spellcheck\\lv_LV.dic");
  const std::string aff = Public("Spellcheck\\lv_LV.aff");
  WriteFile(SharedZentrova() + "\\Update.log", "*0000000000000000\r\n" + dic + "\r\n" + aff + "\r\n");
  testkit::PressButton(box_->window, IDIGNORE);
  ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
  FinishWith(run, false);
  delete holder;
  EXPECT_TRUE(InstalledAsInPayload(aff, "lv_LV.aff"));
  // The old copy stays in its old group; the new group lists what was written.
  const auto log = LogLines();
  ASSERT_EQ(log.size(), 8u);
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 2),
            (std::vector<std::string>{"*0000000000000000", dic}));
  EXPECT_EQ(std::count(log.begin(), log.end(), dic), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), aff), 1);
}

// On a Latvian system, as on-latvian-system.sh makes one: ANSI code page 1257 and a
// temporary folder (so the test folder and the folders in it) with a-macron in its name.
class LatvianSystemTest : public InstallTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 1257u) << "run by tests/e2e/on-latvian-system.sh";
    ASSERT_NE(temp_.find("\\J\xE2nis\\"), std::string::npos) << temp_;
  }

  // Walked to the ready page (the wizard came up without a box), it shows both logos and
  // holds the licence.
  static void WalkToReadyShowingLogosAndLicence(TSetupRun& run, const std::string& home) {
    WalkToReady(run, home);
    const std::vector<HWND> logos = run.FindAll(L"TImage");
    ASSERT_EQ(logos.size(), 2u);
    for (HWND logo : logos) {
      RECT area;
      GetWindowRect(logo, &area);
      EXPECT_TRUE(ShowsCarmine(area)) << "a logo is missing";
    }
    for (HWND edit : run.FindAll(L"Edit", true)) {
      if (GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) {
        EXPECT_GT(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), 1000) << "no licence";
      }
    }
  }
};

TEST_F(LatvianSystemTest, ASharedInstallationFromAHomeFolderWithLatvianLetters) {
  const std::string home = MakeHome("R\xEEki");  // i-macron
  {
    TSetupRun run;
    WalkToReadyShowingLogosAndLicence(run, home);
    Install(run);
    FinishWith(run, false);
  }
  for (const char* file : kModuleFiles)
    EXPECT_TRUE(InstalledAsInPayload(Public("Spellcheck\\") + file, file)) << file;
  EXPECT_EQ(ReadMainDir(), home);
  EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(LatvianSystemTest, APortableInstallationIntoAFolderWithLatvianLettersAndItsBox) {
  const std::string pid = std::to_string(GetCurrentProcessId());
  const std::string home = "E:\\R\xEEki " + pid;  // e: is removable: a portable installation
  ASSERT_TRUE(CreateDirectoryA(home.c_str(), nullptr));
  CreateDirectoryA((home + "\\Spellcheck").c_str(), nullptr);
  CopyFileA(Built.hostExe.c_str(), (home + "\\qzv.exe").c_str(), FALSE);
  {
    testkit::TFileHolder holder(home + "\\Spellcheck\\lv_LV.dic");
    ASSERT_TRUE(holder.Holding());
    TSetupRun run;
    WalkToReadyShowingLogosAndLicence(run, home);
    run.Next();
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value());
    const std::wstring path =
        L"E:\\R\u012Bki " + std::wstring(pid.begin(), pid.end()) + L"\\Spellcheck\\lv_LV.dic";
    EXPECT_EQ(box->text.rfind(L"Cannot create file \"" + path + L"\".\r", 0), 0u);
    holder.Release();
    testkit::PressButton(box->window, IDRETRY);
    ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
    FinishWith(run, false);
  }
  for (const char* file : kModuleFiles)
    EXPECT_TRUE(InstalledAsInPayload(home + "\\Spellcheck\\" + file, file)) << file;
  EXPECT_EQ(ReadMainDir(), home);
  EXPECT_TRUE(TempLeftovers().empty());
  testkit::RemoveTreeForce(testkit::WidenAnsi(home));
}

// On a Latvian display, as on-latvian-display.sh makes one: the display language Latvian,
// the ANSI code page still the Western one, whose letters have no a-macron or s-caron.
class LatvianDisplayTest : public InstallTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetUserDefaultUILanguage(), 0x0426) << "run by tests/e2e/on-latvian-display.sh";
    ASSERT_EQ(GetACP(), 1252u);
  }
  static constexpr wchar_t kNext[] = L"&T\u0101l\u0101k >";
};

TEST_F(LatvianDisplayTest, ASharedInstallationThroughEveryPageInLatvian) {
  const std::string home = MakeHome();
  {
    TSetupRun run;
    EXPECT_EQ(testkit::WindowText(run.Form()),
              L"Zentrova latvie\u0161u pareizrakst\u012Bbas p\u0101rbaud\u012Bt\u0101ja "
              L"uzst\u0101d\u012B\u0161ana");
    ASSERT_TRUE(run.WaitForTitle(L"Esiet sveicin\u0101ti uzst\u0101d\u012B\u0161anas vedn\u012B"));
    EXPECT_NE(run.Find(L"Button", L"Atcelt"), nullptr);
    run.Click(kNext);
    ASSERT_TRUE(run.WaitForTitle(L"Licences l\u012Bgums"));
    // Declining the licence asks in Latvian, under the Latvian caption; No stays.
    run.SetCheck(L"Es &piekr\u012Btu visiem licences l\u012Bguma noteikumiem", false);
    run.Click(kNext);
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, testkit::WindowText(run.Form()));
    EXPECT_EQ(box->text.rfind(L"Lai instal\u0113tu \u0161o programmu, jums j\u0101piekr\u012Bt visiem", 0), 0u);
    testkit::PressButton(box->window, IDNO);
    run.SetCheck(L"Es &piekr\u012Btu visiem licences l\u012Bguma noteikumiem", true);
    run.Click(kNext);
    ASSERT_TRUE(run.WaitForTitle(L"Nor\u0101diet programmas mapi"));
    run.SetEditText(home);
    run.Click(kNext);
    ASSERT_TRUE(run.WaitForTitle(L"Gatavs instal\u0113\u0161anai"));
    EXPECT_NE(run.Find(L"Button", L"< &Atpaka\u013C"), nullptr);
    run.Click(kNext);
    ASSERT_TRUE(run.WaitForTitle(L"Instal\u0113\u0161ana pabeigta"));
    run.SetCheck(L"P&alaist programmu Zentrova Word Processor", false);
    run.Click(L"&Pabeigt");
    EXPECT_EQ(run.WaitForExit(), 0u);
  }
  for (const char* file : kModuleFiles)
    EXPECT_TRUE(InstalledAsInPayload(Public("Spellcheck\\") + file, file)) << file;
  EXPECT_EQ(ReadMainDir(), home);
  EXPECT_EQ(ReadLaunch(), 0u);
}

// /LANG= overrides the display both ways: English here, Latvian on an English display.
TEST_F(LatvianDisplayTest, LangEnGivesTheEnglishWizard) {
  TSetupRun run("/LANG=en");
  ASSERT_TRUE(run.WaitForTitle(L"Welcome to the Zentrova Latvian Spellchecker"));
  EXPECT_NE(run.Find(L"Button", L"&Next >"), nullptr);
}

TEST_F(WizardTest, LangLvGivesTheLatvianWizardOnAnEnglishDisplay) {
  TSetupRun run("-lang=LV");
  ASSERT_TRUE(run.WaitForTitle(L"Esiet sveicin\u0101ti uzst\u0101d\u012B\u0161anas vedn\u012B"));
  run.CloseBox();
  const auto box = Box(run);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text.rfind(L"Instal\u0113\u0161ana nav pabeigta.", 0), 0u);
  testkit::PressButton(box->window, IDYES);
  EXPECT_EQ(run.WaitForExit(), 0u);
}

// A portable installation onto a removable drive that is almost full (a small tmpfs
// behind f:), over an older copy of the module: room for hunspell.dll, not for the
// dictionary.
TEST_F(InstallTest, AFullDriveNeverLeavesAModuleFileCutShort) {
  testkit::TSmallDrive drive;
  if (!drive.Present()) GTEST_SKIP() << "no small drive: " << drive.Missing();
  const std::string home = drive.Root() + "Home";
  const std::string modules = home + "\\Spellcheck\\";
  CreateDirectoryA(home.c_str(), nullptr);
  CreateDirectoryA(modules.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(Built.hostExe.c_str(), (home + "\\qzv.exe").c_str(), FALSE));
  const std::string older(64 * 1024, 'o');
  WriteFile(modules + "lv_LV.dic", older);
  SetFileDate(modules + "lv_LV.dic", Payload().Entry("lv_LV.dic").date - 10);
  const auto pages = [](std::size_t bytes) { return (bytes + 4095) / 4096 * 4096; };
  drive.LeaveRoom(pages(Payload().Entry("Latvian.asc").size) +
                  pages(Payload().Entry("hunspell.dll").size) + 64 * 1024);
  const auto folderHolds = [&] {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((modules + "*").c_str(), &entry);
    while (find != INVALID_HANDLE_VALUE) {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
      if (!FindNextFileA(find, &entry)) break;
    }
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
  };
  const auto expectBoxForTheDictionary = [&](TSetupRun& run) {
    const auto box = Box(run);
    EXPECT_TRUE(box && box->text.rfind(L"Cannot create file \"" +
                                       std::wstring(modules.begin(), modules.end()) +
                                       L"lv_LV.dic\"", 0) == 0);
    return box;
  };

  {
    TSetupRun run;
    WalkToReady(run, home);
    run.Next();
    const auto box = expectBoxForTheDictionary(run);
    ASSERT_TRUE(box.has_value());
    testkit::PressButton(box->window, IDABORT);
    EXPECT_EQ(run.WaitForExit(), 0u);
  }
  EXPECT_TRUE(ReadWholeFile(modules + "lv_LV.dic") == older) << "the older dictionary changed";
  EXPECT_EQ(folderHolds(), (std::vector<std::string>{"Latvian.asc", "hunspell.dll", "lv_LV.dic"}));
  EXPECT_TRUE(InstalledAsInPayload(modules + "hunspell.dll", "hunspell.dll"));

  {
    TSetupRun run;
    WalkToReady(run, home);
    run.Next();
    const auto box = expectBoxForTheDictionary(run);
    ASSERT_TRUE(box.has_value());
    drive.MakeRoom();
    testkit::PressButton(box->window, IDRETRY);
    ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
    FinishWith(run, false);
  }
  for (const char* file : kModuleFiles)
    EXPECT_TRUE(InstalledAsInPayload(modules + file, file)) << file;
  EXPECT_EQ(folderHolds().size(), std::size(kModuleFiles));
}

// The unattended mode (/S): each run is checked by its exit code, the files, the registry
// and its log, and no window of the process may ever be visible.
class UnattendedTest : public InstallTest {
 protected:
  // Runs the program (the built Setup.exe unless given) to its end; its exit code.
  DWORD RunSilent(const std::string& arguments, const std::string& program = "") {
    return RunSilent(testkit::WidenAnsi(arguments), program);
  }
  DWORD RunSilent(const std::wstring& arguments, const std::string& program = "") {
    testkit::TProcess run = StartSilent(arguments, program);
    return run.Started() ? WaitSilent(run) : STILL_ACTIVE;
  }
  // A wide command line, so that its characters reach the program unchanged.
  static testkit::TProcess StartSilent(const std::wstring& arguments,
                                       const std::string& program = "") {
    testkit::TProcess run(L"\"" + testkit::WidenAnsi(program.empty() ? Built.setupExe : program) +
                          L"\" " + arguments);
    if (!run.Started()) ADD_FAILURE() << "cannot start Setup.exe";
    return run;
  }
  // Waits for the run to end, with no window of it ever visible; its exit code.
  static DWORD WaitSilent(testkit::TProcess& run) {
    struct TShown {
      DWORD pid;
      bool any;
      static BOOL CALLBACK Visit(HWND w, LPARAM param) {
        auto* s = reinterpret_cast<TShown*>(param);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        s->any |= pid == s->pid && IsWindowVisible(w);
        return TRUE;
      }
    } shown{run.Id(), false};
    const DWORD start = GetTickCount();
    while (run.WaitForExit(20) == STILL_ACTIVE && GetTickCount() - start < 60000)
      EnumWindows(TShown::Visit, reinterpret_cast<LPARAM>(&shown));
    EXPECT_FALSE(shown.any) << "a window of the process was visible";
    const DWORD code = run.WaitForExit(0);
    run.End();
    return code;
  }
  std::string LogPath() const { return folder_ / "logs\\setup.log"; }
  // Whether the setup log holds the line.
  bool Logged(const std::string& line) const {
    return ("\r\n" + ReadWholeFile(LogPath())).find("\r\n" + line + "\r\n") != std::string::npos;
  }
};

TEST_F(UnattendedTest, ASharedInstallationRecordsWhatTheWizardRecords) {
  const std::string home = MakeHome();
  PutSetting("MAINDIR", REG_SZ, home.c_str(), static_cast<DWORD>(home.size() + 1));
  MakeRecordsFolders();
  // Options in any letter case and either form, before and after another argument.
  EXPECT_EQ(RunSilent("-s unknown \"/log=" + LogPath() + "\""), 0u);
  for (const char* file : kModuleFiles) {
    EXPECT_TRUE(InstalledAsInPayload(Public("Spellcheck\\") + file, file)) << file;
    EXPECT_TRUE(Logged("File " + Public("Spellcheck\\") + file + ": written")) << file;
  }
  const std::vector<std::string> log = LogLines();
  ASSERT_EQ(log.size(), 7u);
  EXPECT_TRUE(Logged("Install stamp " + SharedZentrova() + "\\Hidden\\install_stamp: written, " +
                     log[0]));
  EXPECT_EQ(log.back(), Public("Spellcheck\\userdiclv.tlx") + "\t!");
  EXPECT_EQ(ReadMainDir(), home);
  EXPECT_FALSE(HasSetting("LAUNCH"));
  EXPECT_FALSE(HostProcessRunning());
  EXPECT_TRUE(TempLeftovers().empty());
  for (const std::string& line :
       {std::string("Zentrova Latvian Spellchecker setup, version " SETUP_VERSION_TEXT),
        "Home folder: " + home + " (saved as MAINDIR)",
        std::string("Installation: shared (the module files go to the common data folder)"),
        "Update log " + SharedZentrova() + "\\Update.log: merged, 6 files",
        "MAINDIR saved: " + home, std::string("Exit code: 0")})
    EXPECT_TRUE(Logged(line)) << line << "\n" << ReadWholeFile(LogPath());
}

TEST_F(UnattendedTest, APortableInstallationOnTheRemovableDrive) {
  const std::string home = "E:\\Silent Home " + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(home.c_str(), nullptr);
  CopyFileA(Built.hostExe.c_str(), (home + "\\qzv.exe").c_str(), FALSE);
  EXPECT_EQ(RunSilent("\"-d" + home + "\" /S"), 0u);
  for (const char* file : kModuleFiles)
    EXPECT_TRUE(InstalledAsInPayload(home + "\\Spellcheck\\" + file, file)) << file;
  EXPECT_FALSE(testkit::FolderIsThere(SharedZentrova()));
  EXPECT_EQ(ReadMainDir(), home);
  testkit::RemoveTreeForce(std::wstring(home.begin(), home.end()));
}

TEST_F(UnattendedTest, NothingIsInstalledWithoutTheWordProcessorOrWhileItRuns) {
  const std::string home = MakeHome();
  const std::string empty = folder_.MakeFolder("empty");
  StartHost();
  const struct {
    const char* what;
    std::string folder;
    std::string logged;
  } cases[] = {
      {"the word processor runs", home, "Nothing installed: the word processor is running"},
      {"no qzv.exe", empty, "Nothing installed: the home folder " + empty +
                                " (given by the -d option) holds no qzv.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RunSilent("/S \"-d" + c.folder + "\" \"/LOG=" + LogPath() + "\""), 2u);
    EXPECT_TRUE(Logged(c.logged)) << ReadWholeFile(LogPath());
    EXPECT_TRUE(Logged("Exit code: 2"));
    EXPECT_FALSE(testkit::FolderIsThere(SharedZentrova()));
    EXPECT_FALSE(HasSetting("MAINDIR"));
    CloseHostWindows();
  }
}

TEST_F(UnattendedTest, AHeldModuleFileEndsTheRunWithFourAndKeepsItsOlderCopy) {
  const std::string home = MakeHome();
  const std::string held = Public("Spellcheck\\lv_LV.dic");
  for (const std::string& f : {SharedZentrova(), SharedZentrova() + "\\Public", Public("Spellcheck")})
    CreateDirectoryA(f.c_str(), nullptr);
  WriteFile(held, "older dictionary");
  {
    testkit::TFileHolder holder(held);
    ASSERT_TRUE(holder.Holding());
    EXPECT_EQ(RunSilent("/S \"/LOG=" + LogPath() + "\" \"-d" + home + "\""), 4u);
  }
  EXPECT_EQ(ReadWholeFile(held), "older dictionary");
  EXPECT_TRUE(InstalledAsInPayload(Public("Spellcheck\\hunspell.dll"), "hunspell.dll"));
  EXPECT_FALSE(FileExists(Public("Spellcheck\\lv_LV.aff")));
  EXPECT_FALSE(FileExists(SharedZentrova() + "\\Hidden\\install_stamp"));
  EXPECT_FALSE(FileExists(SharedZentrova() + "\\Update.log"));
  EXPECT_EQ(ReadMainDir(), home);
  const std::string log = ReadWholeFile(LogPath());
  EXPECT_NE(log.find("File " + held + ": failed: "), std::string::npos) << log;
  EXPECT_TRUE(Logged("Exit code: 4")) << log;
}

TEST_F(UnattendedTest, ALogPathTheSystemCannotTakeIsRefusedAndTheInstallationGoesOn) {
  const std::string home = MakeHome();
  // Empty levels, as many as a command line holds: no folder is made or looked at for them.
  EXPECT_EQ(RunSilent("/S \"-d" + home + "\" /LOG=C:" + std::string(32000, '\\') + "x.log"), 0u);
  for (const char* file : kModuleFiles)
    EXPECT_TRUE(InstalledAsInPayload(Public("Spellcheck\\") + file, file)) << file;
}

TEST_F(UnattendedTest, ADamagedPayloadEndsWithOneAndNoBox) {
  EXPECT_EQ(RunSilent("\"/LOG=" + LogPath() + "\" /S", WinePath(DAMAGED_SETUP)), 1u);
  const std::string log = ReadWholeFile(LogPath());
  EXPECT_NE(log.find("Could not start: The setup program's attached files are damaged"),
            std::string::npos) << log;
  EXPECT_TRUE(Logged("Exit code: 1"));
}

TEST_F(UnattendedTest, ASetupWaitsWhileAnotherHoldsTheRecordsAndTakesOverAnAbandonedLock) {
  const std::string home = MakeHome();
  MakeRecordsFolders();
  const std::wstring arguments =
      L"/S \"-d" + testkit::WidenAnsi(home) + L"\" \"/LOG=" + testkit::WidenAnsi(LogPath()) + L"\"";
  HANDLE lock = CreateMutexW(nullptr, TRUE, L"Global\\Zentrova Latvian Spellchecker Setup Records");
  ASSERT_NE(lock, nullptr);
  testkit::TProcess waiting = StartSilent(arguments);
  // Two seconds of a run that would take less than one: nothing is written meanwhile.
  EXPECT_EQ(waiting.WaitForExit(2000), STILL_ACTIVE);
  EXPECT_FALSE(testkit::FolderIsThere(Public("Spellcheck")));
  ReleaseMutex(lock);
  EXPECT_EQ(WaitSilent(waiting), 0u);
  EXPECT_TRUE(Logged("Another setup is changing the records: waiting for it, two minutes at most"));
  EXPECT_TRUE(Logged("The other setup has finished: going on"));
  // A thread that ends while it holds the lock abandons it, as a killed setup does.
  std::thread([lock] { WaitForSingleObject(lock, INFINITE); }).join();
  EXPECT_EQ(RunSilent(arguments), 0u);
  EXPECT_FALSE(Logged("Another setup is changing the records: waiting for it, two minutes at most"));
  CloseHandle(lock);
}

// The bytes of a file named in any characters; empty when there is none.
std::string ReadWide(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Utf8(const std::wstring& text) {
  std::string utf8(text.size() * 3, '\0');
  utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                  utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr));
  return utf8;
}

TEST_F(UnattendedTest, AHomeFolderTheCodePageCannotNameIsRefusedNotTakenForItsLookAlike) {
  ASSERT_EQ(GetACP(), 1252u) << "on a Western system best fit makes i-macron an i";
  MakeHome("Riki");
  const std::wstring typed = testkit::WidenAnsi(folder_ / "R") + L"\u012Bki";
  const std::wstring log = testkit::WidenAnsi(folder_ / "R") + L"\u012Bki.log";  // anywhere
  EXPECT_EQ(RunSilent(L"/S \"-d" + typed + L"\" \"/LOG=" + log + L"\""), 2u);
  EXPECT_FALSE(testkit::FolderIsThere(SharedZentrova()));
  EXPECT_FALSE(HasSetting("MAINDIR"));
  const std::string text = ReadWide(log);
  for (const std::wstring& line :
       {L"Nothing installed: the home folder " + typed +
            L" (given by the -d option) cannot be named in the system's code page",
        std::wstring(L"Exit code: 2")})
    EXPECT_NE(text.find("\r\n" + Utf8(line) + "\r\n"), std::string::npos) << text;
  // The command line as typed.
  EXPECT_NE(text.find("/S \"-d" + Utf8(typed) + "\" \"/LOG="), std::string::npos) << text;
}

TEST_F(UnattendedTest, TheLogNeverReplacesAFileTheInstallationWritesOrReliesOn) {
  const std::string home = MakeHome();
  MakeRecordsFolders();
  ASSERT_EQ(RunSilent("/S \"-d" + home + "\""), 0u);  // the records exist
  const std::string program = folder_ / "Setup copy.exe";
  ASSERT_TRUE(CopyFileA(Built.setupExe.c_str(), program.c_str(), FALSE));
  const std::string host = home + "\\qzv.exe", hostLink = folder_ / "linked.exe";
  ASSERT_TRUE(CreateHardLinkA(hostLink.c_str(), host.c_str(), nullptr));
  std::string upperLog = SharedZentrova() + "\\UPDATE.LOG";
  CharUpperA(upperLog.data());
  const struct {
    const char* what;
    std::string log, check, program;
  } cases[] = {
      {"the update log in other letters", upperLog, SharedZentrova() + "\\Update.log", ""},
      {"a module file by a detour", Public("Spellcheck\\..\\Spellcheck\\lv_LV.dic"),
       Public("Spellcheck\\lv_LV.dic"), ""},
      {"the install stamp", SharedZentrova() + "\\Hidden\\install_stamp",
       SharedZentrova() + "\\Hidden\\install_stamp", ""},
      {"the word processor through a hard link", hostLink, host, ""},
      {"the running program", program, program, program},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RunSilent("/S \"-d" + home + "\" \"/LOG=" + c.log + "\"", c.program), 0u);
    EXPECT_EQ(ReadWholeFile(c.check).find("Command line: "), std::string::npos);
  }
  EXPECT_TRUE(InstalledAsInPayload(Public("Spellcheck\\lv_LV.dic"), "lv_LV.dic"));
  EXPECT_EQ(ReadWholeFile(SharedZentrova() + "\\Hidden\\install_stamp").size(), 8u);
  EXPECT_EQ(LogLines().size(), 7u);
  DeleteFileA(hostLink.c_str());
}

TEST_F(UnattendedTest, TwoAtOnceLeaveTheStampAndTheLogAgreeing) {
  const std::string home = MakeHome();
  MakeRecordsFolders();
  const std::wstring arguments = L"/S \"-d" + testkit::WidenAnsi(home) + L"\"";
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    testkit::TProcess first = StartSilent(arguments), second = StartSilent(arguments);
    ASSERT_TRUE(first.Started() && second.Started());
    EXPECT_EQ(WaitSilent(first), 0u);
    EXPECT_EQ(WaitSilent(second), 0u);
    std::string stamp = "*";
    for (unsigned char b : ReadWholeFile(SharedZentrova() + "\\Hidden\\install_stamp"))
      stamp += {"0123456789ABCDEF"[b >> 4], "0123456789ABCDEF"[b & 15]};
    const std::vector<std::string> log = LogLines();
    ASSERT_EQ(log.size(), 7u);  // every entry moved into the newest group
    EXPECT_EQ(log[0], stamp);
  }
}

TEST_F(UnattendedTest, HelpBesideSilentShowsTheOptionsAndInstallsNothing) {
  const std::string home = MakeHome();
  const testkit::TProcess setup("\"" + Built.setupExe + "\" /S -HELP \"-d" + home + "\"");
  ASSERT_TRUE(setup.Started());
  const auto box = testkit::WaitForMessageBox(testkit::kWindowTimeoutMs, setup.Id());
  ASSERT_TRUE(box.has_value());
  EXPECT_NE(box->text.find(L"/LOG=<path>"), std::wstring::npos);
  EXPECT_NE(box->text.find(L"4 - the installation failed part way"), std::wstring::npos);
  testkit::PressButton(box->window, IDOK);
  EXPECT_EQ(setup.WaitForExit(15000), 0u);
  EXPECT_FALSE(testkit::FolderIsThere(SharedZentrova()));
  EXPECT_FALSE(HasSetting("MAINDIR"));
}

}  // namespace
}  // namespace e2e
