// Setup.exe where the machine around it is not as expected: no temporary folder, a
// read-only or blocked shared Public folder, a module folder that is a file, a home folder
// whose paths are longer than MAX_PATH. Each ends in a box the user can act on, or in the
// designed silent fallback; files that stand in the way are never lost.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "tests/hardening/Hardening.h"

namespace e2e {
namespace {

using testkit::FileExists;
using testkit::ReadWholeFile;

const char* const kModuleFiles[] = {"Latvian.asc", "hunspell.dll", "lv_LV.dic",
                                    "lv_LV.aff",   "userdiclv.tlx", "Latvian.hyph"};
const char kTempPrefix[] = "~ZentrovaLatvianSpellcheckerSetup";

std::wstring W(const std::string& s) { return std::wstring(s.begin(), s.end()); }
std::string N(const std::wstring& s) { return std::string(s.begin(), s.end()); }

std::string Documents() {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, path);
  return path;
}

// Names in the folder that carry the program's temporary-file prefix.
std::vector<std::string> TempFilesIn(const std::string& folder) {
  return testkit::NamesIn(folder + "\\" + kTempPrefix + "*");
}

void PutFile(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

using SurroundingsTest = SharedInstallTest;

TEST_F(SurroundingsTest, AMissingTemporaryFolderFallsBackToTheDocumentsFolder) {
  const std::string nowhere = folder_.Path() + "no such folder\\temp";
  TEnvironmentValue temp("TEMP", nowhere), tmp("TMP", nowhere);
  const std::string documents = Documents();
  ASSERT_FALSE(documents.empty());
  {
    TSetupRun run(L"", "", folder_.Path());
    WalkToHomePage(run);  // the logos and the licence have passed through temporary files
    HWND memo = nullptr;
    for (HWND e : run.FindAll(L"Edit", true))
      if (GetWindowLongW(e, GWL_STYLE) & ES_MULTILINE) memo = e;
    ASSERT_NE(memo, nullptr);
    // Asked, not read: Wine's GetWindowTextLength reads another process's edit box as empty.
    EXPECT_GT(SendMessageW(memo, WM_GETTEXTLENGTH, 0, 0), 100);
    run.Cancel();
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value());
    Answer(*box, IDYES);
    EXPECT_EQ(run.WaitForExit(), 0u);
  }
  EXPECT_EQ(TempFilesIn(documents), std::vector<std::string>{});
  EXPECT_EQ(TempFilesIn(folder_.Path()), std::vector<std::string>{});
  EXPECT_FALSE(testkit::FolderIsThere(folder_.Path() + "no such folder"));
}

TEST_F(SurroundingsTest, AReadOnlyPublicFolderStillTakesTheFiles) {
  // The read-only attribute of a folder does not keep files out of it on Windows; Wine as
  // root does not even keep the attribute. Either way the installation goes through.
  CreateDirectoryA(SharedZentrova().c_str(), nullptr);
  CreateDirectoryA(Public("").c_str(), nullptr);
  SetFileAttributesA(Public("").c_str(), FILE_ATTRIBUTE_READONLY);
  if (!(GetFileAttributesA(Public("").c_str()) & FILE_ATTRIBUTE_READONLY))
    RecordProperty("note", "the system keeps no read-only attribute on folders");
  TSetupRun run;
  InstallToFinishPage(run);
  FinishAndExit(run);
  for (const char* file : kModuleFiles) EXPECT_TRUE(FileExists(Public("Spellcheck\\") + file)) << file;
}

TEST_F(SurroundingsTest, AFileWhereThePublicFolderShouldBeIsReportedUntilItIsGone) {
  CreateDirectoryA(SharedZentrova().c_str(), nullptr);
  const std::string blocker = SharedZentrova() + "\\Public";
  PutFile(blocker, "not a folder");
  TSetupRun run;
  WalkToReady(run, MakeHome());
  run.Next();
  const std::wstring expected = L"Cannot create file \"" + W(Public("Spellcheck\\Latvian.asc")) + L"\".";
  for (int attempt = 0; attempt < 2; ++attempt) {
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text.rfind(expected, 0), 0u) << N(box->text);
    EXPECT_EQ(box->ButtonIds(), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
    EXPECT_EQ(ReadWholeFile(blocker), "not a folder");
    if (attempt == 1) {
      ASSERT_TRUE(DeleteFileA(blocker.c_str()));
    }
    Answer(*box, IDRETRY);
  }
  ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
  FinishAndExit(run);
  for (const char* file : kModuleFiles) EXPECT_TRUE(FileExists(Public("Spellcheck\\") + file)) << file;
}

TEST_F(SurroundingsTest, AModuleFolderThatIsAFileIsAskedAboutFileByFileAndKept) {
  CreateDirectoryA(SharedZentrova().c_str(), nullptr);
  CreateDirectoryA(Public("").c_str(), nullptr);
  PutFile(Public("Spellcheck"), "not a folder");
  TSetupRun run;
  WalkToReady(run, MakeHome());
  run.Next();
  for (const char* file : kModuleFiles) {
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value()) << file;
    const std::wstring expected = L"Cannot create file \"" + W(Public("Spellcheck\\") + file) + L"\".";
    EXPECT_EQ(box->text.rfind(expected, 0), 0u) << N(box->text);
    Answer(*box, IDIGNORE);
  }
  ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
  FinishAndExit(run);
  EXPECT_EQ(ReadWholeFile(Public("Spellcheck")), "not a folder");
  EXPECT_FALSE(testkit::FolderIsThere(Public("Orthographe")));
  // The log lists what was queued, written or not.
  const std::vector<std::string> log = CrLfLines(LogPath());
  ASSERT_EQ(log.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(log.begin() + 1, log.end()), LoggedEntries("Spellcheck"));
}

// A portable home folder (e: is a removable drive) whose own path is longer than MAX_PATH,
// so every module file's path is too. Windows refuses such paths to programs that do not
// declare themselves aware of long paths, with the wrong-folder message or the box of the
// file that cannot be written; Wine takes them. Either way the wizard must not fail.
TEST_F(SurroundingsTest, AHomeFolderBeyondMaxPathEndsInABoxOrAnInstallation) {
  const std::string top = "E:\\Long " + std::to_string(GetCurrentProcessId());
  struct TCleanUp {
    std::wstring path;
    ~TCleanUp() { testkit::RemoveTreeForce(path); }
  } cleanUp{L"\\\\?\\" + W(top)};
  std::string home = top;
  while (home.size() <= 300) home += "\\" + std::string(60, 'L');
  for (std::size_t at = home.find('\\', 3);; at = home.find('\\', at + 1)) {
    CreateDirectoryW((L"\\\\?\\" + W(home.substr(0, at))).c_str(), nullptr);
    if (at == std::string::npos) break;
  }
  ASSERT_TRUE(CopyFileW(W(Built.hostExe).c_str(), (L"\\\\?\\" + W(home) + L"\\qzv.exe").c_str(), FALSE));
  TSetupRun run(L"\"-d" + W(home) + L"\"");
  WalkToHomePage(run);
  EXPECT_EQ(run.EditText(), W(home));
  run.Next();
  // The outcome the platform allows: the ready page, or the wrong-folder message.
  const DWORD start = GetTickCount();
  std::optional<testkit::TMessageBox> box;
  while (run.Title() != L"Ready to Install" && !(box = testkit::WaitForMessageBox(50, run.ProcessId())))
    ASSERT_LT(GetTickCount() - start, 15000u) << "neither the ready page nor a box";
  if (box) {
    EXPECT_EQ(box->text.rfind(L"The specified folder does not contain", 0), 0u) << N(box->text);
    RecordProperty("outcome", "wrong-folder message");
    return;
  }
  run.Next();
  const DWORD installStart = GetTickCount();
  while (run.Title() != L"Installation Complete" &&
         !(box = testkit::WaitForMessageBox(50, run.ProcessId())))
    ASSERT_LT(GetTickCount() - installStart, 15000u) << "neither the finish page nor a box";
  if (box) {
    EXPECT_EQ(box->text.rfind(L"Cannot create file \"" + W(home), 0), 0u) << N(box->text);
    Answer(*box, IDABORT);
    EXPECT_EQ(run.WaitForExit(), 0u);
    RecordProperty("outcome", "cannot-create box, aborted");
    return;
  }
  RecordProperty("outcome", "installed");
  FinishAndExit(run);
  for (const char* file : kModuleFiles)
    EXPECT_NE(GetFileAttributesW((L"\\\\?\\" + W(home) + L"\\Spellcheck\\" + W(file)).c_str()),
              INVALID_FILE_ATTRIBUTES)
        << file;
  EXPECT_EQ(ReadMainDir(), home);
}

}  // namespace
}  // namespace e2e
