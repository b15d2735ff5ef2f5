#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "instutils/DateTime.h"
#include "instutils/Files.h"
#include "instutils/InstUtils.h"
#include "tests/common/TestFolder.h"
#include "tests/common/WindowDriver.h"

using namespace inst;
using testkit::FileExists;
using testkit::FolderIsThere;
using testkit::TTestFolder;

namespace {

// The process's current folder, straight from the platform.
std::string PlatformCurrentFolder() {
  char buffer[MAX_PATH];
  return std::string(buffer, GetCurrentDirectoryA(MAX_PATH, buffer));
}

// Runs the body with the current folder set to `folder`, restoring it afterwards.
class TCurrentFolderScope {
 public:
  explicit TCurrentFolderScope(const std::string& folder) : saved_(PlatformCurrentFolder()) {
    SetCurrentDirectoryA(folder.c_str());
  }
  ~TCurrentFolderScope() { SetCurrentDirectoryA(saved_.c_str()); }

 private:
  std::string saved_;
};

TEST(Folders, CurrentFolderEndsInOneBackslashAndPopRestoresIt) {
  TTestFolder dir;
  const std::string sub = dir.MakeFolder("sub");
  TCurrentFolderScope scope(dir.Path());
  EXPECT_TRUE(SameName(CurrentFolder(), dir.Path()));

  PushCurrentFolder();
  SetCurrentDirectoryA(sub.c_str());
  PushCurrentFolder();
  SetCurrentDirectoryA("C:\\");
  EXPECT_EQ(CurrentFolder(), "C:\\");  // a root comes back unchanged
  PopCurrentFolder();
  EXPECT_TRUE(SameName(CurrentFolder(), sub + "\\"));
  PopCurrentFolder();
  EXPECT_TRUE(SameName(CurrentFolder(), dir.Path()));
  PopCurrentFolder();  // an empty stack changes nothing
  EXPECT_TRUE(SameName(CurrentFolder(), dir.Path()));
}

TEST(Folders, FolderExistsEntersTheFolderAndComesBack) {
  TTestFolder dir;
  const std::string sub = dir.MakeFolder("sub");
  const std::string file = dir.WriteFile("file.txt", "x");
  TCurrentFolderScope scope(dir.Path());
  const std::string before = PlatformCurrentFolder();

  EXPECT_TRUE(FolderExists(sub));
  EXPECT_TRUE(FolderExists(sub + "\\"));
  EXPECT_TRUE(FolderExists("C:\\"));
  EXPECT_TRUE(FolderExists("c:"));
  EXPECT_FALSE(FolderExists(file));
  EXPECT_FALSE(FolderExists(dir / "missing"));
  EXPECT_FALSE(FolderExists(""));
  EXPECT_FALSE(FolderExists(sub + "\\..\\sub"));  // exists, but reads back differently
  EXPECT_FALSE(FolderExists("sub"));               // relative: reads back as a full path
  EXPECT_EQ(PlatformCurrentFolder(), before);
}

TEST(Folders, TempFolderFallsBackToTheDocumentsFolder) {
  TTestFolder dir;
  {
    testkit::TTempEnvironment temp(dir.Path().substr(0, dir.Path().size() - 1));
    EXPECT_TRUE(SameName(TempFolder(), dir.Path()));
  }
  {
    testkit::TTempEnvironment temp(dir / "missing");
    const std::string documents = GetSpecialFolder(CSIDL_PERSONAL);
    ASSERT_FALSE(documents.empty());
    EXPECT_EQ(TempFolder(), documents + "\\");
  }
}

// Also run with a Baltic ANSI code page (see CMakeLists.txt), where the letter fits.
TEST(Folders, TempFolderNamesAFolderWhoseLetterTheCodePageLacks) {
  TTestFolder dir;
  // a-macron: a Latvian letter that a Western code page has no place for.
  const std::wstring wide = testkit::WidenAnsi(dir.Path()) + L"J\u0101nis";
  ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
  testkit::TTempEnvironment temp(wide);
  const std::string folder = TempFolder();
  ASSERT_TRUE(FolderExists(folder)) << folder;
  WriteBytesToFile(folder + "probe.txt", "x");
  EXPECT_NE(GetFileAttributesW((wide + L"\\probe.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Folders, SpecialFoldersOfTheShell) {
  EXPECT_TRUE(SameName(GetSpecialFolder(CSIDL_PROGRAM_FILES), "C:\\Program Files"));
  EXPECT_TRUE(SameName(GetSpecialFolder(CSIDL_COMMON_APPDATA), "C:\\ProgramData"));
  const std::string documents = GetSpecialFolder(CSIDL_PERSONAL);
  EXPECT_EQ(documents.rfind("C:\\users\\", 0), 0u) << documents;
  EXPECT_NE(LastChar(documents), '\\');
  EXPECT_EQ(GetSpecialFolder(0x7F), "");  // no such folder
}

TEST(Folders, SpecialFolderIsEmptyWithoutTheShellLookup) {
  FinalizeInstUtils();
  EXPECT_EQ(GetSpecialFolder(CSIDL_PROGRAM_FILES), "");
  InitializeInstUtils();
  EXPECT_NE(GetSpecialFolder(CSIDL_PROGRAM_FILES), "");
}

TEST(Folders, MakeFoldersCreatesEveryMissingLevel) {
  TTestFolder dir;
  MakeFolders(dir / "a\\b\\");
  EXPECT_TRUE(FolderIsThere(dir / "a"));
  EXPECT_TRUE(FolderIsThere(dir / "a\\b"));
  MakeFolders(dir / "a\\c\\d");  // without a trailing backslash
  EXPECT_TRUE(FolderIsThere(dir / "a\\c\\d"));
  const std::string kept = dir.WriteFile("a\\b\\kept.txt", "kept");
  MakeFolders(dir / "a\\b");  // an existing folder is left as it is
  EXPECT_TRUE(testkit::FileExists(kept));
  MakeFolders("");
}

TEST(Folders, MakeFoldersOnUnreachablePlacesReturnsQuietly) {
  const auto start = std::chrono::steady_clock::now();
  MakeFolders("\\\\no-such-server.invalid\\share\\a\\b\\");
  MakeFolders("q:\\a\\b\\");  // no drive q:
  EXPECT_FALSE(FolderIsThere("q:\\a"));
  // As deep as the system's longest path: levels are walked, not recursed into.
  std::string deep = "q:";
  while (deep.size() < 32000) deep += "\\a";
  MakeFolders(deep);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST(Files, WriteBytesToFileReplacesTheWholeFile) {
  TTestFolder dir;
  const std::string file = dir.WriteFile("f.bin", std::string(1000, 'x'));
  const std::string bytes("new\0bytes\r\n", 11);
  EXPECT_EQ(WriteBytesToFile(file, bytes), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(testkit::ReadWholeFile(file), bytes);
  WriteBytesToFile(file, "");
  EXPECT_TRUE(testkit::FileExists(file));
  EXPECT_EQ(testkit::ReadWholeFile(file), "");
  // Folders are not made.
  EXPECT_EQ(WriteBytesToFile(dir / "missing\\f.bin", "x"), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(FolderIsThere(dir / "missing"));
  EXPECT_EQ(testkit::NamesIn(dir / "*.new"), std::vector<std::string>{});
}

// The new file replaces its target through its own handle, which takes the target's NT name:
// every form of the name reaches the same file (a relative one is moved by name).
TEST(Files, WriteBytesToFileReplacesTheTargetWhateverFormItsNameHas) {
  TTestFolder dir;
  const std::string file = dir.WriteFile("f.bin", "old");
  char before[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, before);
  SetCurrentDirectoryA(dir.Path().c_str());
  for (const std::string& name : {"\\\\?\\" + file, std::string("f.bin"), file}) {
    EXPECT_EQ(WriteBytesToFile(name, name), static_cast<DWORD>(ERROR_SUCCESS)) << name;
    EXPECT_EQ(testkit::ReadWholeFile(file), name);
  }
  SetCurrentDirectoryA(before);
  EXPECT_EQ(testkit::NamesIn(dir / "*"), std::vector<std::string>{"f.bin"});
}

TEST(Files, WriteBytesToFileLeavesAFileInUseAloneAndNothingBeside) {
  TTestFolder dir;
  const std::string file = dir.WriteFile("busy.txt", "old");
  // Leftovers of an earlier run, or names planted in advance, are no obstacle, and are
  // neither used nor removed: they may be anything, links to other files among others.
  dir.WriteFile("busy.txt.new", "leftover");
  for (int n = 1; n < 100; ++n) dir.WriteFile("busy.txt." + std::to_string(n) + ".new", "planted");
  const std::vector<std::string> before = testkit::NamesIn(dir / "busy.txt*");
  {
    testkit::TFileHolder holder(file);  // another program has it open, sharing nothing
    ASSERT_TRUE(holder.Holding());
    // The new contents are written beside it, but cannot replace it.
    EXPECT_NE(WriteBytesToFile(file, "new"), static_cast<DWORD>(ERROR_SUCCESS));
  }
  EXPECT_EQ(testkit::ReadWholeFile(file), "old");
  EXPECT_EQ(testkit::NamesIn(dir / "busy.txt*"), before);
  EXPECT_EQ(WriteBytesToFile(file, "new"), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(testkit::ReadWholeFile(file), "new");
  EXPECT_EQ(testkit::NamesIn(dir / "busy.txt*"), before);
  EXPECT_EQ(testkit::ReadWholeFile(dir / "busy.txt.new"), "leftover");
}

TEST(Files, AWriteThatStoresLessThanAskedFails) {
  // A byte pipe in non-waiting mode takes only what fits its buffer and still reports
  // success: the one case where the file layer stores less without an error.
  const std::string name =
      "\\\\.\\pipe\\short-write-" + std::to_string(GetCurrentProcessId());
  HANDLE server = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_NOWAIT,
                                   1, 512, 512, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  HANDLE client = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
  ASSERT_NE(client, INVALID_HANDLE_VALUE);
  const std::string bytes(100000, 'x');
  EXPECT_EQ(WriteWhole(server, bytes.data(), static_cast<DWORD>(bytes.size())),
            static_cast<DWORD>(ERROR_HANDLE_DISK_FULL));
  CloseHandle(client);
  CloseHandle(server);

  TTestFolder dir;
  HANDLE file = CreateFileA((dir / "whole.bin").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(WriteWhole(file, bytes.data(), static_cast<DWORD>(bytes.size())),
            static_cast<DWORD>(ERROR_SUCCESS));
  CloseHandle(file);
  EXPECT_EQ(testkit::ReadWholeFile(dir / "whole.bin").size(), bytes.size());
}

TEST(Files, WideCallsTakeWidenedNames) {
  TTestFolder dir;
  // 0xE2 is a-circumflex in code page 1252, the code page of this run.
  WriteBytesToFile(dir / "\xE2\x80.txt", "x");
  const std::wstring wide = std::wstring(dir.Path().begin(), dir.Path().end()) + L"\u00E2\u20AC.txt";
  EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
  MakeFolders(dir / "\xE2\\\x9A");
  const std::wstring nested =
      std::wstring(dir.Path().begin(), dir.Path().end()) + L"\u00E2\\\u0161";
  EXPECT_NE(GetFileAttributesW(nested.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Files, DeleteFolderTreeRemovesHiddenSystemAndNestedEntries) {
  TTestFolder dir;
  dir.MakeFolder("tree");
  dir.MakeFolder("tree\\deep");
  dir.MakeFolder("tree\\deep\\deeper");
  dir.WriteFile("tree\\plain.txt", "1");
  SetFileAttributesA(dir.WriteFile("tree\\hidden.txt", "2").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(dir.WriteFile("tree\\deep\\system.sys", "3").c_str(), FILE_ATTRIBUTE_SYSTEM);
  dir.WriteFile("tree\\deep\\deeper\\noext", "4");
  SetFileAttributesA((dir / "tree\\deep").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(GetFileAttributesA((dir / "tree\\hidden.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(GetFileAttributesA((dir / "tree\\deep\\system.sys").c_str()) & FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(GetFileAttributesA((dir / "tree\\deep").c_str()) & FILE_ATTRIBUTE_HIDDEN);
  DeleteFolderTree(dir / "tree");
  EXPECT_FALSE(FolderIsThere(dir / "tree"));
}

TEST(Files, DeleteFolderTreeKeepsAReadOnlyFileAndTheFoldersAboveIt) {
  TTestFolder dir;
  dir.MakeFolder("tree");
  dir.MakeFolder("tree\\keep");
  dir.MakeFolder("tree\\gone");
  dir.WriteFile("tree\\gone\\a.txt", "a");
  dir.WriteFile("tree\\b.txt", "b");
  const std::string locked = dir.WriteFile("tree\\keep\\locked.txt", "locked");
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  DeleteFolderTree(dir / "tree\\");
  EXPECT_TRUE(testkit::FileExists(locked));
  EXPECT_FALSE(FolderIsThere(dir / "tree\\gone"));
  EXPECT_FALSE(testkit::FileExists(dir / "tree\\b.txt"));
}

TEST(Files, DeleteFolderTreeOfEmptyTextLeavesTheCurrentFolderAlone) {
  TTestFolder dir;
  const std::string file = dir.WriteFile("stays.txt", "x");
  TCurrentFolderScope scope(dir.Path());
  DeleteFolderTree("");
  EXPECT_TRUE(testkit::FileExists(file));
}

// A file time given as local wall-clock time.
void SetLocalWriteTime(const std::string& path, WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s,
                       WORD ms) {
  SYSTEMTIME local = {};
  local.wYear = y;
  local.wMonth = mo;
  local.wDay = d;
  local.wHour = h;
  local.wMinute = mi;
  local.wSecond = s;
  local.wMilliseconds = ms;
  FILETIME localTime, utc;
  SystemTimeToFileTime(&local, &localTime);
  LocalFileTimeToFileTime(&localTime, &utc);
  HANDLE h0 = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h0, INVALID_HANDLE_VALUE);
  SetFileTime(h0, nullptr, nullptr, &utc);
  CloseHandle(h0);
}

// The present moment as local time, found without NowAsDateTime.
double PlatformNow() {
  FILETIME utc, local;
  GetSystemTimeAsFileTime(&utc);
  FileTimeToLocalFileTime(&utc, &local);
  SYSTEMTIME t;
  FileTimeToSystemTime(&local, &t);
  return inst::EncodeDateTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
}

TEST(FileDates, LocalTimeRoundedDownToEvenSeconds) {
  TTestFolder dir;
  const std::string file = dir.WriteFile("dated.txt", "x");
  SetLocalWriteTime(file, 2009, 5, 20, 10, 15, 31, 700);
  EXPECT_DOUBLE_EQ(GetFileDate(file), inst::EncodeDateTime({2009, 5, 20, 10, 15, 30}));
  SetLocalWriteTime(file, 2009, 5, 20, 23, 59, 59, 999);
  EXPECT_DOUBLE_EQ(GetFileDate(file), inst::EncodeDateTime({2009, 5, 20, 23, 59, 58}));
}

TEST(FileDates, MissingFileIsThePresentMoment) {
  TTestFolder dir;
  const double before = PlatformNow();
  const double date = GetFileDate(dir / "missing.txt");
  const double after = PlatformNow() + 1.0 / 86400;
  EXPECT_GE(date, before);
  EXPECT_LE(date, after);
  EXPECT_NEAR(NowAsDateTime(), PlatformNow(), 2.0 / 86400);
}

TEST(FileDates, TimesBeforeTheFatRangeMatchNoEntryDate) {
  TTestFolder dir;
  const std::string file = dir.WriteFile("old.txt", "x");
  SetLocalWriteTime(file, 1975, 6, 1, 12, 0, 0, 0);
  EXPECT_LT(GetFileDate(file), inst::EncodeDateTime({1980, 1, 1, 0, 0, 0}));
}

TEST(Drives, KindsAndExternalDrivesOfTheTestDrives) {
  EXPECT_EQ(DriveKind("C:\\windows"), static_cast<unsigned>(DRIVE_FIXED));
  EXPECT_EQ(DriveKind("d:\\"), static_cast<unsigned>(DRIVE_CDROM));
  EXPECT_EQ(DriveKind("e:"), static_cast<unsigned>(DRIVE_REMOVABLE));
  EXPECT_EQ(DriveKind("n:\\folder"), static_cast<unsigned>(DRIVE_REMOTE));
  EXPECT_EQ(DriveKind("q:\\"), static_cast<unsigned>(DRIVE_NO_ROOT_DIR));

  EXPECT_TRUE(IsExternalDrive("e:\\some\\folder"));
  EXPECT_FALSE(IsExternalDrive("d:\\"));
  EXPECT_FALSE(IsExternalDrive("n:\\"));
  EXPECT_FALSE(IsExternalDrive("q:\\"));
  EXPECT_FALSE(IsExternalDrive("C:\\Program Files"));  // an ordinary fixed disk
}

TEST(Drives, DescriptorOfAnExternalDisk) {
  std::uint8_t d[548] = {};
  const auto setBus = [&d](std::uint32_t bus) { std::memcpy(d + 28, &bus, 4); };
  EXPECT_FALSE(IsExternalDescriptor(d, sizeof d));
  setBus(7);  // USB
  EXPECT_TRUE(IsExternalDescriptor(d, sizeof d));
  setBus(4);  // IEEE 1394
  EXPECT_TRUE(IsExternalDescriptor(d, sizeof d));
  setBus(11);  // SATA
  EXPECT_FALSE(IsExternalDescriptor(d, sizeof d));
  setBus(0x0700);  // only the low byte looks like USB
  EXPECT_FALSE(IsExternalDescriptor(d, sizeof d));
  setBus(3);  // ATA, removable media
  d[10] = 1;
  EXPECT_TRUE(IsExternalDescriptor(d, sizeof d));
  EXPECT_FALSE(IsExternalDescriptor(d, 20));  // too short to hold the fields
}

}  // namespace
