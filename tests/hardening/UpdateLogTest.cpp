// An update log that is damaged, huge, beyond 16 MB, read-only or held by another program when a
// shared installation is finished. A log that can be read is merged line by line, whatever
// its line ends; one that cannot be read or replaced is reported in a box, the wizard stays
// on its finish page with the old log untouched and no half-written file beside it, and
// Finish succeeds once the cause is gone.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/hardening/Hardening.h"

namespace e2e {
namespace {

using testkit::FileExists;
using testkit::ReadWholeFile;

class UpdateLogTest : public SharedInstallTest {
 protected:
  void WriteOldLog(const std::string& bytes) {
    CreateDirectoryA(SharedZentrova().c_str(), nullptr);
    HANDLE f = CreateFileA(LogPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    ASSERT_EQ(written, bytes.size());
  }

  // The log's lines after the old part: a stamp line and the Spellcheck group.
  void ExpectNewGroupAt(const std::vector<std::string>& log, std::size_t at) {
    ASSERT_EQ(log.size(), at + 7);
    EXPECT_EQ(log[at].size(), 17u);
    EXPECT_EQ(log[at][0], '*');
    EXPECT_EQ(std::vector<std::string>(log.begin() + static_cast<long>(at) + 1, log.end()),
              LoggedEntries("Spellcheck"));
  }

  // Finish fails with a box that names the log; afterwards the wizard is still on its
  // finish page, nothing is left beside the log and the rest of the finish step was not done.
  void ExpectRefusedFinish(TSetupRun& run, const wchar_t* reason, const wchar_t* because = L"") {
    run.SetCheck(L"&Launch Zentrova Word Processor", false);
    run.Finish();
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"Zentrova Latvian Spellchecker - Setup");
    EXPECT_EQ(box->icon, testkit::TBoxIcon::Error);
    const std::string log = LogPath();
    EXPECT_NE(box->text.find(std::wstring(log.begin(), log.end())), std::wstring::npos)
        << std::string(box->text.begin(), box->text.end());
    EXPECT_EQ(box->text.rfind(reason, 0), 0u) << std::string(box->text.begin(), box->text.end());
    EXPECT_NE(box->text.find(because), std::wstring::npos) << std::string(box->text.begin(), box->text.end());
    Answer(*box, IDOK);
    EXPECT_EQ(run.WaitForExit(0), STILL_ACTIVE);
    EXPECT_EQ(run.Title(), L"Installation Complete");
    EXPECT_NE(run.Find(L"Button", L"&Finish"), nullptr);
    EXPECT_EQ(testkit::NamesIn(LogPath() + "*"), std::vector<std::string>{"Update.log"});
    EXPECT_FALSE(HasSetting("MAINDIR")) << "the finish step went on after the failure";
  }
};

TEST_F(UpdateLogTest, NulsLoneLineEndsAndLongLinesAreReadLineByLineAndTheTailIsKept) {
  const std::string longLine = "C:\\Elsewhere\\" + std::string(100000, 'w');
  // What follows the NUL is no text the merge reads, so it comes back byte for byte.
  const std::string tail = std::string("\0after the NUL\n\r\0", 17) + longLine + "\r\n";
  WriteOldLog("first\rsecond\nthird\r\n\r\n" + longLine + "\n\n" + "fourth" + tail);
  TSetupRun run;
  InstallToFinishPage(run);
  FinishAndExit(run);
  const std::string text = testkit::ReadWholeFile(LogPath());
  const std::size_t nul = text.find('\0');
  ASSERT_NE(nul, std::string::npos);
  EXPECT_TRUE(text.substr(nul) == tail) << "the bytes from the NUL on were changed";
  WriteOldLog(text.substr(0, nul));  // the text part alone, read as the word processor reads it
  const std::vector<std::string> log = CrLfLines(LogPath());
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 5),
            (std::vector<std::string>{"first", "second", "third", longLine, "fourth"}));
  ExpectNewGroupAt(log, 5);
}

TEST_F(UpdateLogTest, AHugeLogIsMergedWithoutStalling) {
  // 300,000 lines in groups of two adjacent stamp lines and one entry: every second stamp
  // line goes, which takes minutes when lines are removed one by one from the middle.
  std::string old;
  std::vector<std::string> kept;
  char line[64];
  for (int i = 0; i < 100000; ++i) {
    std::snprintf(line, sizeof line, "*%016X", 2 * i);
    old += std::string(line) + "\r\n";
    kept.push_back(line);
    std::snprintf(line, sizeof line, "*%016X\r\n", 2 * i + 1);
    old += line;
    std::snprintf(line, sizeof line, "C:\\Elsewhere\\file%06d.txt", i);
    old += std::string(line) + "\r\n";
    kept.push_back(line);
  }
  WriteOldLog(old);
  TSetupRun run;
  InstallToFinishPage(run);
  const DWORD start = GetTickCount();
  FinishAndExit(run);
  EXPECT_LT(GetTickCount() - start, 10000u) << "Finish took too long on a long log";
  const std::vector<std::string> log = CrLfLines(LogPath());
  ASSERT_GE(log.size(), kept.size());
  EXPECT_TRUE(std::equal(kept.begin(), kept.end(), log.begin()));
  ExpectNewGroupAt(log, kept.size());
}

TEST_F(UpdateLogTest, ALogBeyond16MBIsReportedWithItsReasonAndKeptWhole) {
  const std::string old = "*0000000000000000\r\n" + std::string(16 * 1024 * 1024, 'x') + "\r\n";
  WriteOldLog(old);
  TSetupRun run;
  InstallToFinishPage(run);
  ExpectRefusedFinish(run, L"Cannot open file", L"larger than 16 MB");
  const auto sizeOf = [](const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.nFileSizeLow;
  };
  EXPECT_EQ(sizeOf(LogPath()), old.size());
  EXPECT_TRUE(ReadWholeFile(LogPath()) == old) << "the log changed";
}

TEST_F(UpdateLogTest, AReadOnlyLogIsReportedAndKeptUntilItMayBeWritten) {
  const std::string old = "*0000000000000000\r\nC:\\Elsewhere\\kept.txt\r\n";
  WriteOldLog(old);
  ASSERT_TRUE(SetFileAttributesA(LogPath().c_str(), FILE_ATTRIBUTE_READONLY));
  TSetupRun run;
  InstallToFinishPage(run);
  ExpectRefusedFinish(run, L"Cannot create file");
  EXPECT_EQ(ReadWholeFile(LogPath()), old);
  EXPECT_EQ(GetFileAttributesA(LogPath().c_str()) & FILE_ATTRIBUTE_READONLY,
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));

  SetFileAttributesA(LogPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  FinishAndExit(run);
  const std::vector<std::string> log = CrLfLines(LogPath());
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[1], "C:\\Elsewhere\\kept.txt");
  ExpectNewGroupAt(log, 2);
}

TEST_F(UpdateLogTest, ALogHeldByAnotherProgramIsReportedAndKeptUntilReleased) {
  const std::string old = "*0000000000000000\r\nC:\\Elsewhere\\kept.txt\r\n";
  WriteOldLog(old);
  TSetupRun run;
  InstallToFinishPage(run);
  {
    testkit::TFileHolder holder(LogPath());  // no sharing: the log cannot even be read
    ASSERT_TRUE(holder.Holding());
    ExpectRefusedFinish(run, L"Cannot open file");
  }
  EXPECT_EQ(ReadWholeFile(LogPath()), old);
  {
    // A reader that lets others read: the log is read and merged, but cannot be replaced.
    HANDLE reader = CreateFileA(LogPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ExpectRefusedFinish(run, L"Cannot create file");
    CloseHandle(reader);
  }
  EXPECT_EQ(ReadWholeFile(LogPath()), old);
  FinishAndExit(run);
  const std::vector<std::string> log = CrLfLines(LogPath());
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[1], "C:\\Elsewhere\\kept.txt");
  ExpectNewGroupAt(log, 2);
}

}  // namespace
}  // namespace e2e
