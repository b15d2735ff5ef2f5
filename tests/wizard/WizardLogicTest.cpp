// The wizard's home-folder rules, settings and update-log merge, on the real registry
// and real files of the test prefix.
#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "instutils/DateTime.h"
#include "instutils/Files.h"
#include "instutils/InstUtils.h"
#include "instutils/Widen.h"
#include "tests/common/TestFolder.h"
#include "tests/common/WindowDriver.h"
#include "wizard/CommandLine.h"
#include "wizard/HomeFolder.h"
#include "wizard/UpdateLog.h"

using namespace wizard;

namespace {

using Lines = std::vector<std::string>;

class InstUtilsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { inst::InitializeInstUtils(); }
  void TearDown() override { inst::FinalizeInstUtils(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new InstUtilsEnvironment);

std::string ProgramFiles() { return inst::GetSpecialFolder(CSIDL_PROGRAM_FILES); }

class ScratchFolder {
 public:
  ScratchFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "wizard-logic-" + std::to_string(GetCurrentProcessId()) + "\\";
    inst::MakeFolders(path_);
  }
  ~ScratchFolder() {
    SetFileAttributesA((path_ + "Update.log").c_str(), FILE_ATTRIBUTE_NORMAL);
    inst::DeleteFolderTree(path_);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

TEST(NormalizeDestDir, CleansTheTypedFolder) {
  const std::string pf = "C:\\Program Files";
  EXPECT_EQ(NormalizeDestDirText("  D:\\Apps\\Zentrova\\  ", 'c', pf), "D:\\Apps\\Zentrova");
  EXPECT_EQ(NormalizeDestDirText("C:\\", 'c', pf), "C:\\Zentrova");
  EXPECT_EQ(NormalizeDestDirText("c:\\program files", 'c', pf), "c:\\program files\\Zentrova");
  EXPECT_EQ(NormalizeDestDirText("c:\\program files\\", 'c', pf), "c:\\program files\\Zentrova");
  EXPECT_EQ(NormalizeDestDirText("Apps", 'c', pf), "c:\\Zentrova");
  EXPECT_EQ(NormalizeDestDirText("", 'e', pf), "e:\\Zentrova");
  EXPECT_EQ(NormalizeDestDirText("\\\\server\\share", 'c', pf), "\\\\server\\share");
  // Only one trailing backslash goes, and only blanks are trimmed.
  EXPECT_EQ(NormalizeDestDirText("D:\\Word\\\\", 'c', pf), "D:\\Word\\Zentrova");
  EXPECT_EQ(NormalizeDestDirText("\tD:\\Word", 'c', pf), "c:\\Zentrova");
}

using WLines = std::vector<std::wstring>;

// The home folder proposed for the arguments after the program's name.
std::string Proposed(const SavedSettings& saved, WLines args) {
  args.insert(args.begin(), L"Setup.exe");
  return ProposeHomeDir(saved, ReadCommandLine(args)).folder;
}

TEST(CommandLine, SplitsAtBlanksAndControlCharactersWithQuotesGrouping) {
  EXPECT_EQ(SplitCommandLine(L"Setup.exe -dD:\\Word"), (WLines{L"Setup.exe", L"-dD:\\Word"}));
  EXPECT_EQ(SplitCommandLine(L"\"C:\\My Setup\\Setup.exe\"  \"-dC:\\Program Files\\Z\" x"),
            (WLines{L"C:\\My Setup\\Setup.exe", L"-dC:\\Program Files\\Z", L"x"}));
  EXPECT_EQ(SplitCommandLine(L"a\t-d\"D:\\A B\"\x01tail"), (WLines{L"a", L"-dD:\\A B", L"tail"}));
  // A full-width quote is a letter like any other: it neither groups nor ends the argument.
  EXPECT_EQ(SplitCommandLine(L"a \"-dC:\\\uFF02 /LOG=x\""), (WLines{L"a", L"-dC:\\\uFF02 /LOG=x"}));
  EXPECT_EQ(SplitCommandLine(L"  "), WLines{});
}

TEST(CommandLine, DashDInTheFirstArgumentOverridesTheSavedFolder) {
  SavedSettings saved;
  saved.hasMainDir = true;
  saved.mainDir = "C:\\windows";
  EXPECT_EQ(Proposed(saved, {}), "C:\\windows");
  EXPECT_EQ(Proposed(saved, {L"-dD:\\Word"}), "D:\\Word");
  EXPECT_EQ(Proposed(saved, {L"-d"}), "");
  EXPECT_EQ(Proposed(saved, {L"-DD:\\Word"}), "C:\\windows");
  EXPECT_EQ(Proposed(saved, {L"x", L"-dD:\\Word"}), "C:\\windows");
  EXPECT_EQ(Proposed(saved, {L"", L"-dD:\\Word"}), "C:\\windows");
  const std::string longFolder = "C:\\" + std::string(300, 'a');
  EXPECT_EQ(Proposed(saved, {L"-d" + std::wstring(longFolder.begin(), longFolder.end())}), longFolder);
}

TEST(CommandLine, OptionsAreTakenOutWhereverTheyStandAndLookAlikesAreNone) {
  ASSERT_EQ(GetACP(), 1252u) << "the look-alikes are those of a Western system";
  const struct {
    WLines args;
    bool silent, help;
    const wchar_t* log;  // nullptr: no /LOG=
    const wchar_t* home;  // nullptr: no -d
    std::optional<inst::TLanguage> language = {};
  } cases[] = {
      {{L"Setup.exe", L"/S", L"-dE:\\Z"}, true, false, nullptr, L"E:\\Z"},
      {{L"Setup.exe", L"-dE:\\Z", L"-s"}, true, false, nullptr, L"E:\\Z"},
      {{L"Setup.exe", L"/log=C:\\a b.log", L"-HELP", L"x"}, false, true, L"C:\\a b.log", nullptr},
      {{L"Setup.exe", L"-?", L"/LOG=", L"/LOG"}, false, true, L"", nullptr},
      // Only the exact words count; the program's own name is never an option.
      {{L"/S", L"/Silent", L"/s2", L"-D", L""}, false, false, nullptr, nullptr},
      // Full-width letters and slashes, a dotted capital I: what best fit would turn into an
      // option is none. The log's path is kept in its own characters.
      {{L"Setup.exe", L"\uFF0FS", L"/\uFF33", L"/HELP\u0130", L"/LOG=C:\\R\u012Bki\\a.log"}, false,
       false, L"C:\\R\u012Bki\\a.log", nullptr},
      // The last language the wizard speaks wins; others are taken out and change nothing.
      {{L"Setup.exe", L"/LANG=lv", L"-dE:\\Z", L"-lang=EN", L"/LANG=de"}, false, false, nullptr,
       L"E:\\Z", inst::TLanguage::English},
      {{L"Setup.exe", L"-Lang=LV", L"/LANG=\uFF4C\uFF56"}, false, false, nullptr, nullptr,
       inst::TLanguage::Latvian},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(inst::NarrowUtf8(c.args[1]));
    const TCommandLine o = ReadCommandLine(c.args);
    EXPECT_EQ(o.silent, c.silent);
    EXPECT_EQ(o.help, c.help);
    EXPECT_EQ(o.hasLog, c.log != nullptr);
    if (c.log) {
      EXPECT_EQ(o.logPath, c.log);
    }
    EXPECT_EQ(o.hasHomeDir, c.home != nullptr);
    if (c.home) {
      EXPECT_EQ(o.homeDir, inst::Narrow(c.home));
    }
    EXPECT_EQ(o.language, c.language);
  }
}

TEST(CommandLine, LongPathPrefixesGoAndOtherDeviceFormsHoldNoHomeFolder) {
  const struct {
    const char* given;
    const char* without;
    bool device;
  } cases[] = {
      {"\\\\?\\E:\\Zentrova", "E:\\Zentrova", false},
      {"\\\\?\\unc\\server\\share\\Z", "\\\\server\\share\\Z", false},
      {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\Z", nullptr, true},
      {"\\\\?\\Volume{0}\\Z", nullptr, true},
      {"\\\\.\\C:\\Zentrova", nullptr, true},
      {"\\??\\C:\\Zentrova", nullptr, true},
      {"\\\\server\\share", nullptr, false},
  };
  for (const auto& c : cases) {
    const std::string without = WithoutLongPathPrefix(c.given);
    EXPECT_EQ(without, c.without ? c.without : c.given);
    EXPECT_EQ(IsDevicePath(without), c.device) << c.given;
  }
  SavedSettings saved;
  saved.hasMainDir = true;
  saved.mainDir = "\\\\?\\C:\\windows";
  EXPECT_EQ(Proposed(saved, {}), "C:\\windows");
  EXPECT_EQ(Proposed(saved, {L"-d\\\\?\\D:\\Word"}), "D:\\Word");
  EXPECT_EQ(NormalizeDestDirText(" \\\\?\\D:\\ ", 'c', "C:\\Program Files"), "D:\\Zentrova");
}

TEST(CommandLine, AMissingOrEmptySavedFolderGivesTheDefault) {
  const std::string fallback = ProgramFiles() + "\\Zentrova";
  EXPECT_EQ(Proposed({}, {}), fallback);
  SavedSettings gone;
  gone.hasMainDir = true;
  gone.mainDir = "C:\\no such folder here";
  EXPECT_EQ(Proposed(gone, {}), fallback);
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, HomeFolderKey); }
  void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, HomeFolderKey); }
  static void Put(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, HomeFolderKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
};

TEST_F(SettingsTest, ReadingCreatesTheKeyAndFindsNothing) {
  const SavedSettings s = ReadSettings();
  EXPECT_FALSE(s.hasMainDir);
  EXPECT_FALSE(s.hasLaunch);
  EXPECT_TRUE(s.launch);
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, HomeFolderKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(SettingsTest, WritesStringWithNulAndDwordAndReadsThemBack) {
  WriteSettings("D:\\Word", false);
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, HomeFolderKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  RegQueryValueExW(key, L"MAINDIR", nullptr, &type, nullptr, &size);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  RegQueryValueExA(key, "LAUNCH", nullptr, &type, nullptr, &size);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  RegCloseKey(key);
  const SavedSettings s = ReadSettings();
  EXPECT_EQ(s.mainDir, "D:\\Word");
  EXPECT_FALSE(s.launch);
}

TEST_F(SettingsTest, ValuesOfOtherTypesReadAsTheirBytes) {
  const char binary[] = {'C', ':', '\\', 'x', 0, 'y'};
  Put("MAINDIR", REG_BINARY, binary, sizeof binary);
  const DWORD seven = 7;
  Put("LAUNCH", REG_DWORD, &seven, 4);
  SavedSettings s = ReadSettings();
  EXPECT_EQ(s.mainDir, "C:\\x");
  EXPECT_TRUE(s.launch);

  Put("MAINDIR", REG_SZ, "", 0);  // a size-0 value exists and reads empty
  Put("LAUNCH", REG_SZ, "0", 2);  // not a 4-byte number: the box stays checked
  s = ReadSettings();
  EXPECT_TRUE(s.hasMainDir);
  EXPECT_EQ(s.mainDir, "");
  EXPECT_TRUE(s.hasLaunch);
  EXPECT_TRUE(s.launch);

  const DWORD zero = 0;
  Put("LAUNCH", REG_DWORD, &zero, 4);
  EXPECT_FALSE(ReadSettings().launch);
}

TEST(StampLine, CarriesTheDateTimeBytesInMemoryOrder) {
  EXPECT_EQ(StampLine(1.0), "*000000000000F03F");
  EXPECT_EQ(StampLine(inst::EncodeDateTime({2009, 5, 20, 14, 30, 0})), "*555555553382E340");
  EXPECT_EQ(StampBytes(1.0), std::string("\0\0\0\0\0\0\xF0\x3F", 8));
}

TEST(InstallStamp, AFullDriveLeavesThePreviousStampOrNoneNeverAShortOne) {
  testkit::TSmallDrive drive;
  if (!drive.Present()) GTEST_SKIP() << "no small drive: " << drive.Missing();
  const std::string stamp = drive.Root() + "install_stamp";
  // Nothing is left beside the stamp.
  const auto besideStamp = [&] { return testkit::NamesIn(stamp + "*"); };
  drive.LeaveRoom(0);
  EXPECT_FALSE(WriteInstallStamp(stamp, 2.0));
  EXPECT_FALSE(testkit::FileExists(stamp)) << "no stamp before, none after";
  drive.MakeRoom();
  EXPECT_TRUE(WriteInstallStamp(stamp, 1.0));
  ASSERT_EQ(testkit::ReadWholeFile(stamp), StampBytes(1.0));

  drive.LeaveRoom(0);
  EXPECT_FALSE(WriteInstallStamp(stamp, 2.0)) << "a failed write is not reported as written";
  EXPECT_EQ(testkit::ReadWholeFile(stamp), StampBytes(1.0));
  EXPECT_EQ(besideStamp(), Lines{"install_stamp"});
  drive.MakeRoom();
  WriteInstallStamp(stamp, 2.0);
  EXPECT_EQ(testkit::ReadWholeFile(stamp), StampBytes(2.0));
  EXPECT_EQ(besideStamp(), Lines{"install_stamp"});
}

Lines Merge(Lines log, Lines files) {
  SortLogLines(files);
  MergeUpdateLog(log, files, 1.0);
  return log;
}

TEST(UpdateLogMerge, MovesRewrittenEntriesIntoTheNewGroup) {
  const std::string now = StampLine(1.0);
  const Lines old = {"*A", "x", "*B", "y"};
  EXPECT_EQ(Merge(old, {"x"}), (Lines{"*A", "y", now, "x"}));
  EXPECT_EQ(Merge(old, {"y"}), (Lines{"*A", "x", now, "y"}));
  EXPECT_EQ(Merge(old, {"y", "x"}), (Lines{now, "x", "y"}));
  EXPECT_EQ(Merge({}, {"b", "A", "c"}), (Lines{now, "A", "b", "c"}));
}

TEST(UpdateLogMerge, MatchesIgnoringCaseButNotTheKeepMark) {
  const std::string now = StampLine(1.0);
  EXPECT_EQ(Merge({"*A", "C:\\P\\X.DIC", "keep me", ""}, {"c:\\p\\x.dic"}),
            (Lines{"*A", "keep me", now, "c:\\p\\x.dic"}));
  EXPECT_EQ(Merge({"*A", "C:\\P\\u.tlx", "*B", "C:\\P\\v.tlx\t!"}, {"C:\\P\\u.tlx\t!", "C:\\P\\v.tlx"}),
            (Lines{"*A", "C:\\P\\u.tlx", "*B", "C:\\P\\v.tlx\t!", now, "C:\\P\\u.tlx\t!", "C:\\P\\v.tlx"}));
}

TEST(UpdateLogFile, ReadsEveryLineEndUpToANulAndWritesTheRestBackAfterTheLines) {
  ScratchFolder dir;
  const std::string path = dir.path() + "Update.log";
  const std::string tail("\0ignored\r\n\0\n", 12);
  WriteAll(path, "a\r\nb\rc\nd\r\n\r\ne" + tail);
  TLogText log = LoadLogText(path);
  EXPECT_EQ(log.lines, (Lines{"a", "b", "c", "d", "", "e"}));
  log.lines = {"*1", "x"};
  SaveLogText(path, log);
  EXPECT_EQ(ReadAll(path), "*1\r\nx\r\n" + tail);
}

TEST(UpdateLogFile, AMergeThatWouldPassTheLimitIsRefusedBeforeAnyWrite) {
  ScratchFolder dir;
  const std::string path = dir.path() + "Update.log";
  // Just under the limit with lone LFs; written back with CR LF it would pass it.
  std::string old;
  for (int i = 0; i < 1100000; ++i) old += "C:\\P\\entry.dic\n";
  ASSERT_LE(old.size(), 16u * 1024 * 1024);
  WriteAll(path, old);
  const TLogText log = LoadLogText(path);
  EXPECT_THROW(SaveLogText(path, log), std::runtime_error);
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(testkit::NamesIn(path + "*"), Lines{"Update.log"});
}

TEST(UpdateLogFile, AFailedSaveKeepsTheOldLogWholeAndLeavesNothingBeside) {
  ScratchFolder dir;
  const std::string path = dir.path() + "Update.log";
  const std::string old = "*old\r\nentry\r\n";
  WriteAll(path, old);
  WriteAll(path + ".new", "leftover");  // of an earlier run: neither used nor removed
  {
    testkit::TFileHolder holder(path);  // the new log is written beside it, but cannot replace it
    ASSERT_TRUE(holder.Holding());
    EXPECT_THROW(SaveLogText(path, {{"*new"}, ""}), std::runtime_error);
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);  // refused before any write
  EXPECT_THROW(SaveLogText(path, {{"*new"}, ""}), std::runtime_error);
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(testkit::NamesIn(path + "*"), (Lines{"Update.log", "Update.log.new"}));
  EXPECT_EQ(ReadAll(path + ".new"), "leftover");
  EXPECT_THROW(LoadLogText(dir.path() + "missing.log"), std::runtime_error);
}

}  // namespace
