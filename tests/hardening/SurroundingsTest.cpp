// Setup.exe where the machine around it is not as expected: no temporary folder, read-only,
// hidden or system module files, a blocked shared Public folder, a module folder that is a
// file, a home folder whose paths are longer than MAX_PATH. Each ends in a box the user can act on, or in the
// designed silent fallback; files that stand in the way are never lost.
#include <windows.h>
#include <shlobj.h>

#include <map>
#include <string>
#include <vector>

#include "tests/hardening/Hardening.h"

namespace e2e {
namespace {

using testkit::FileExists;
using testkit::ReadWholeFile;

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

// Windows will not create a file anew over a read-only, hidden or system file; the wizard
// refuses it itself (Wine run by root would move over it) with the usual box, and the file
// stays as it is.
TEST_F(SurroundingsTest, AReadOnlyHiddenOrSystemModuleFileIsAskedAboutAndKept) {
  const std::map<std::string, DWORD> refused = {{"lv_LV.dic", FILE_ATTRIBUTE_READONLY},
                                                {"lv_LV.aff", FILE_ATTRIBUTE_HIDDEN},
                                                {"Latvian.hyph", FILE_ATTRIBUTE_SYSTEM}};
  for (const char* sub : {"", "\\Public", "\\Public\\Spellcheck"})
    CreateDirectoryA((SharedZentrova() + sub).c_str(), nullptr);
  for (const auto& [file, attribute] : refused) {
    PutFile(Public("Spellcheck\\") + file, "the host's own");
    ASSERT_TRUE(SetFileAttributesA((Public("Spellcheck\\") + file).c_str(), attribute));
  }
  TSetupRun run;
  WalkToReady(run, MakeHome());
  run.Next();
  IgnoreEachRefusedFile(run, Public("Spellcheck\\"), {"lv_LV.dic", "lv_LV.aff", "Latvian.hyph"});
  FinishAndExit(run);
  for (const auto& [file, attribute] : refused) {
    const std::string path = Public("Spellcheck\\") + file;
    EXPECT_EQ(ReadWholeFile(path), "the host's own") << file;
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & attribute, attribute) << file;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  for (const char* file : {"Latvian.asc", "hunspell.dll", "userdiclv.tlx"})
    EXPECT_TRUE(FileExists(Public("Spellcheck\\") + file)) << file;
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
  IgnoreEachRefusedFile(run, Public("Spellcheck\\"), kModuleFiles);
  FinishAndExit(run);
  EXPECT_EQ(ReadWholeFile(Public("Spellcheck")), "not a folder");
  EXPECT_FALSE(testkit::FolderIsThere(Public("Orthographe")));
  // The log lists only what was written: with nothing written it is not made.
  EXPECT_FALSE(FileExists(LogPath()));
}

// A portable home folder (e: is a removable drive) whose own path is longer than MAX_PATH,
// so every module file's path is too. Windows refuses such paths to programs that do not
// declare themselves aware of long paths; Wine takes them. The platform is asked first, the
// way the wizard asks it: where it finds qzv.exe the wizard must install
// every file there, else it must show the wrong-folder box.
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
  const DWORD found = GetFileAttributesW((W(home) + L"\\qzv.exe").c_str());
  const bool longPathsTaken = found != INVALID_FILE_ATTRIBUTES;
  RecordProperty("long paths", longPathsTaken ? "taken" : "refused");
  TSetupRun run(L"\"-d" + W(home) + L"\"");
  WalkToHomePage(run);
  EXPECT_EQ(run.EditText(), W(home));
  run.Next();
  if (!longPathsTaken) {
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text.rfind(L"The specified folder does not contain", 0), 0u) << N(box->text);
    return;
  }
  ASSERT_TRUE(run.WaitForTitle(L"Ready to Install"));
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
  FinishAndExit(run);
  for (const char* file : kModuleFiles)
    EXPECT_NE(GetFileAttributesW((L"\\\\?\\" + W(home) + L"\\Spellcheck\\" + W(file)).c_str()),
              INVALID_FILE_ATTRIBUTES)
        << file;
  EXPECT_EQ(ReadMainDir(), home);
}

}  // namespace
}  // namespace e2e
