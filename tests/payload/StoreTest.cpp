// The attached file store on its own payload resource (packed by the payload writer at
// build time), on real files in a per-test folder.
#include <windows.h>
#include <shlobj.h>
#include <zlib.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "instutils/DateTime.h"
#include "instutils/InstUtils.h"
#include "instutils/SetupTitle.h"
#include "instutils/TempFiles.h"
#include "payload/AttachFiles.h"
#include "tests/common/TestFolder.h"
#include "tests/common/WindowDriver.h"

using payload::TAttachedFile;
using payload::TAttachedFiles;
using testkit::ReadWholeFile;
using testkit::TBoxAnswerer;
using testkit::TMessageBox;

namespace {

// The writer's stamp for every entry of this program's payload (see CMakeLists.txt).
const double kStamp = inst::EncodeDateTime({2009, 5, 20, 14, 30, 0});
constexpr double kTwoSeconds = 2.0 / 86400.0;

class TInstUtilsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { inst::InitializeInstUtils(); }
  void TearDown() override { inst::FinalizeInstUtils(); }
};
const auto* const registered = ::testing::AddGlobalTestEnvironment(new TInstUtilsEnvironment);

FILETIME LastWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) << path;
  return data.ftLastWriteTime;
}

// The file's last-write time read back as local time at 2-second resolution.
double LocalWriteDate(const std::string& path) {
  const FILETIME utc = LastWriteTime(path);
  FILETIME local;
  WORD dosDate = 0, dosTime = 0;
  EXPECT_TRUE(FileTimeToLocalFileTime(&utc, &local) &&
              FileTimeToDosDateTime(&local, &dosDate, &dosTime));
  return inst::DosDateTimeToDate(dosDate, dosTime);
}

void SetLocalWriteDate(const std::string& path, double date) {
  std::uint16_t dosDate = 0, dosTime = 0;
  ASSERT_TRUE(inst::DateToDosDateTime(date, dosDate, dosTime));
  FILETIME local, utc;
  ASSERT_TRUE(DosDateTimeToFileTime(dosDate, dosTime, &local) &&
              LocalFileTimeToFileTime(&local, &utc));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
  CloseHandle(file);
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring CannotCreateText(const std::string& path) {
  return L"Cannot create file \"" + Wide(path) +
         L"\".\rAnother application might already be using this file.\r\r"
         L"Please make sure that the setup of Zentrova Word Processor is not blocked by your "
         L"security software (firewall/antivirus) in any way.\rYou might want to temporarily "
         L"disable your security software and try again.";
}

class StoreTest : public ::testing::Test {
 protected:
  const TAttachedFile& Entry(const std::string& name) {
    for (const auto& e : store.Entries)
      if (e->Name == name) return *e;
    ADD_FAILURE() << "no entry " << name;
    return *store.Entries.front();
  }
  std::vector<std::string> QueuedTargets() const {
    std::vector<std::string> targets;
    for (const auto& job : store.Queues[0]) targets.push_back(job->Target);
    return targets;
  }

  testkit::TTestFolder folder;
  testkit::TTempEnvironment temp{folder.MakeFolder("temp")};
  TAttachedFiles store;
};

TEST_F(StoreTest, IndexesTheResourceInPayloadOrder) {
  const std::vector<std::string> names = {
      "License.txt",   "Spellcheck\\a.txt", "Other.txt", "Spellcheck\\b.txt",
      "userdiclv.tlx", "Spellcheck\\c.txt", "Module.dat"};
  ASSERT_EQ(store.Entries.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(store.Entries[i]->Name, names[i]);
    EXPECT_EQ(store.Entries[i]->Date, kStamp);
  }
  const TAttachedFile& last = *store.Entries.back();
  EXPECT_EQ(last.DataOffset + last.Size, store.DataSize());
  EXPECT_TRUE(store.Queues[0].empty());
  EXPECT_TRUE(store.PublicFiles.empty());
  EXPECT_FALSE(store.ForceOverwrite);
}

TEST_F(StoreTest, ExtractsByEntryOrByNameWithTheEntrysDate) {
  // An entry given wins over whatever the name says.
  const std::string byEntry = folder / "new\\deeper\\x.bin";
  ASSERT_TRUE(store.ExtractFile(&Entry("Spellcheck\\a.txt"), "License.txt", byEntry));
  EXPECT_EQ(ReadWholeFile(byEntry), "third");

  // By name, letter case ignored; an existing file is replaced.
  const std::string byName = folder.WriteFile("License copy.txt", "an older and longer text");
  ASSERT_TRUE(store.ExtractFile(nullptr, "license.txt", byName));
  EXPECT_EQ(ReadWholeFile(byName), "first file\n");

  // A size-0 entry gives an empty file; every file carries the entry's date as its
  // last-write time: the stored local time, turned into UTC.
  const std::string empty = folder / "userdiclv.tlx";
  ASSERT_TRUE(store.ExtractFile(nullptr, "userdiclv.tlx", empty));
  EXPECT_TRUE(testkit::FileExists(empty));
  EXPECT_EQ(ReadWholeFile(empty), "");
  SYSTEMTIME local{2009, 5, 0, 20, 14, 30, 0, 0}, expectedUtc{}, actualUtc{};
  ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &expectedUtc));
  for (const std::string& path : {byEntry, byName, empty}) {
    EXPECT_EQ(LocalWriteDate(path), kStamp) << path;
    const FILETIME utc = LastWriteTime(path);
    ASSERT_TRUE(FileTimeToSystemTime(&utc, &actualUtc));
    EXPECT_EQ(actualUtc.wHour * 60 + actualUtc.wMinute,
              expectedUtc.wHour * 60 + expectedUtc.wMinute)
        << path;
    EXPECT_EQ(actualUtc.wDay, expectedUtc.wDay) << path;
  }
}

TEST_F(StoreTest, OverwriteModesDecideOnAnExistingTarget) {
  const std::string target = folder / "Module.dat";
  // Absent target: every mode queues, also an unknown one.
  for (std::uint8_t mode : {0, 1, 2, 7})
    EXPECT_TRUE(store.QueueFiles("Module.dat", folder.Path(), 0, mode));

  ASSERT_TRUE(store.ExtractFile(nullptr, "Module.dat", target));  // carries the entry's date
  const std::size_t before = store.Queues[0].size();
  EXPECT_FALSE(store.QueueFiles("Module.dat", folder.Path(), 0, 0));
  EXPECT_FALSE(store.QueueFiles("Module.dat", folder.Path(), 0, 7));  // acts as 0
  EXPECT_FALSE(store.QueueFiles("module.DAT", folder.Path(), 0, 1));  // same date
  EXPECT_EQ(store.Queues[0].size(), before);
  EXPECT_TRUE(store.QueueFiles("Module.dat", folder.Path(), 0, 2));

  SetLocalWriteDate(target, kStamp - kTwoSeconds);  // older
  EXPECT_TRUE(store.QueueFiles("Module.dat", folder.Path(), 0, 1));
  SetLocalWriteDate(target, kStamp + kTwoSeconds);  // newer
  EXPECT_TRUE(store.QueueFiles("Module.dat", folder.Path(), 0, 1));

  ASSERT_EQ(store.Queues[0].size(), before + 3);
  for (const auto& job : store.Queues[0]) {
    EXPECT_EQ(job->Entry, &Entry("Module.dat"));
    EXPECT_EQ(job->Target, target);
  }
}

TEST_F(StoreTest, AFolderPrefixQueuesEveryEntryBelowItInPayloadOrder) {
  const std::string into = folder / "Home";  // without a trailing backslash
  EXPECT_TRUE(store.QueueFiles("spellcheck\\", into, 0, 0));
  EXPECT_EQ(QueuedTargets(),
            (std::vector<std::string>{into + "\\Spellcheck\\a.txt", into + "\\Spellcheck\\b.txt",
                                      into + "\\Spellcheck\\c.txt"}));
  // One match is enough for true: b.txt is the only one still absent.
  folder.MakeFolder("Home");
  folder.MakeFolder("Home\\Spellcheck");
  folder.WriteFile("Home\\Spellcheck\\a.txt", "x");
  folder.WriteFile("Home\\Spellcheck\\c.txt", "x");
  EXPECT_TRUE(store.QueueFiles("Spellcheck\\", into, 0, 0));
  EXPECT_EQ(store.Queues[0].back()->Target, into + "\\Spellcheck\\b.txt");
  folder.WriteFile("Home\\Spellcheck\\b.txt", "x");
  EXPECT_FALSE(store.QueueFiles("Spellcheck\\", into, 0, 0));
  // Nothing matches: nothing queued.
  EXPECT_FALSE(store.QueueFiles("Nothing.txt", into, 0, 2));
  EXPECT_FALSE(store.QueueFiles("Nothing\\", into, 0, 2));
  EXPECT_EQ(store.Queues[0].size(), 4u);
}

// A folder of this test under the shared Public folder, removed again afterwards.
class PublicFolderTest : public StoreTest {
 protected:
  void TearDown() override {
    testkit::RemoveTreeForce(std::wstring(mine.begin(), mine.end()));
    RemoveDirectoryA(publicFolder.c_str());  // only when empty: not ours otherwise
    RemoveDirectoryA(zentrova.c_str());
    payload::CollectPublicFiles = false;
  }
  const std::string zentrova = inst::GetSpecialFolder(CSIDL_COMMON_APPDATA) + "\\Zentrova\\";
  const std::string publicFolder = zentrova + "Public\\";
  const std::string mine = publicFolder + "store-test-" + std::to_string(GetCurrentProcessId());
};

TEST_F(PublicFolderTest, QueueingUnderThePublicFolderRecordsTheTargets) {
  ASSERT_FALSE(inst::GetSpecialFolder(CSIDL_COMMON_APPDATA).empty());
  store.QueueFiles("License.txt", mine, 0, 2);
  EXPECT_TRUE(store.PublicFiles.empty()) << "not collecting yet";

  payload::CollectPublicFiles = true;
  ASSERT_TRUE(store.QueueFiles("License.txt", mine, 0, 2));
  ASSERT_TRUE(store.QueueFiles("Other.txt", folder.Path(), 0, 2));  // outside: no line
  // The folder compares without regard to letter case.
  std::string upper = mine;
  CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  ASSERT_TRUE(store.QueueFiles("userdiclv.tlx", upper, 0, 0));  // the caller's mode 0 marks it
  EXPECT_EQ(store.PublicFiles,
            (std::vector<std::string>{mine + "\\License.txt", upper + "\\userdiclv.tlx\t!"}));
  EXPECT_EQ(store.Queues[0].size(), 4u);

  // ForceOverwrite replaces an existing file kept by mode 0, and the line keeps its mark.
  store.PublicFiles.clear();
  ASSERT_TRUE(store.ExtractFile(nullptr, "userdiclv.tlx", mine + "\\userdiclv.tlx"));
  EXPECT_FALSE(store.QueueFiles("userdiclv.tlx", mine, 0, 0));
  store.ForceOverwrite = true;
  EXPECT_TRUE(store.QueueFiles("userdiclv.tlx", mine, 0, 0));
  EXPECT_TRUE(store.QueueFiles("Module.dat", mine, 0, 1));
  EXPECT_EQ(store.PublicFiles,
            (std::vector<std::string>{mine + "\\userdiclv.tlx\t!", mine + "\\Module.dat"}));
}

TEST_F(PublicFolderTest, WithoutTheCommonDataFolderNothingIsRecorded) {
  payload::CollectPublicFiles = true;
  inst::FinalizeInstUtils();  // no shell-folder lookup: the common data folder reads empty
  ASSERT_TRUE(inst::GetSpecialFolder(CSIDL_COMMON_APPDATA).empty());
  const bool queued = store.QueueFiles("License.txt", mine, 0, 2);
  inst::InitializeInstUtils();
  EXPECT_TRUE(queued);
  EXPECT_TRUE(store.PublicFiles.empty());
}

void ExpectRetryBox(const TMessageBox& box, const std::string& path) {
  EXPECT_EQ(box.caption, Wide(inst::kSetupTitle));
  EXPECT_EQ(box.text, CannotCreateText(path));
  EXPECT_EQ(box.icon, testkit::TBoxIcon::Error) << testkit::IconName(box.icon);
  EXPECT_EQ(box.ButtonIds(), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
}

TEST_F(StoreTest, ATargetInUseAsksAndRetryWritesItOnceReleased) {
  const std::string target = folder.WriteFile("in use.txt", "old");
  testkit::TFileHolder holder(target);
  ASSERT_TRUE(holder.Holding());
  TBoxAnswerer answerer([&](const TMessageBox&) {
    holder.Release();  // the file is let go while the user reads the box
    return IDRETRY;
  });
  EXPECT_TRUE(store.ExtractFile(nullptr, "License.txt", target));
  ASSERT_EQ(answerer.Seen().size(), 1u);
  ExpectRetryBox(answerer.Seen()[0], target);
  EXPECT_EQ(ReadWholeFile(target), "first file\n");
  EXPECT_EQ(LocalWriteDate(target), kStamp);
}

TEST_F(StoreTest, RetryWhileInUseAsksAgainAbortStopsIgnoreSkips) {
  const std::string target = folder.WriteFile("in use.txt", "old");
  testkit::TFileHolder holder(target);
  ASSERT_TRUE(holder.Holding());
  const std::vector<int> answers = {IDRETRY, IDABORT, IDIGNORE};
  int next = 0;
  TBoxAnswerer answerer([&](const TMessageBox&) { return answers[next++]; }, 3);
  EXPECT_FALSE(store.ExtractFile(nullptr, "License.txt", target));  // Retry, then Abort
  EXPECT_TRUE(store.ExtractFile(nullptr, "License.txt", target));   // Ignore
  ASSERT_EQ(answerer.Seen().size(), 3u);
  for (const TMessageBox& box : answerer.Seen()) ExpectRetryBox(box, target);
  holder.Release();
  EXPECT_EQ(ReadWholeFile(target), "old");
}

TEST_F(StoreTest, ATargetThatIsAFolderOrWhoseFolderCannotBeMadeAsksTheSame) {
  // (A read-only file would be the everyday case of access denied, but Wine run by root
  // overwrites read-only files; a folder in the target's place is refused everywhere.)
  const std::string aFolder = folder.MakeFolder("a folder");
  const std::string underAFile = folder.WriteFile("plain", "x") + "\\sub\\x.txt";
  TBoxAnswerer answerer(IDIGNORE, 2);
  EXPECT_TRUE(store.ExtractFile(nullptr, "License.txt", aFolder));
  EXPECT_TRUE(store.ExtractFile(nullptr, "License.txt", underAFile));
  ASSERT_EQ(answerer.Seen().size(), 2u);
  ExpectRetryBox(answerer.Seen()[0], aFolder);
  ExpectRetryBox(answerer.Seen()[1], underAFile);
  EXPECT_TRUE(testkit::FolderIsThere(aFolder));
  EXPECT_EQ(ReadWholeFile(folder / "plain"), "x");
}

TEST_F(StoreTest, ANameWithNoEntryAsksButCreatesNoFile) {
  const std::string target = folder / "Missing\\nothing.txt";
  TBoxAnswerer answerer([](const TMessageBox&) { return IDIGNORE; });
  EXPECT_TRUE(store.ExtractFile(nullptr, "Nothing.txt", target));
  ASSERT_EQ(answerer.Seen().size(), 1u);
  ExpectRetryBox(answerer.Seen()[0], target);
  EXPECT_FALSE(testkit::FileExists(target));
  EXPECT_FALSE(testkit::FolderIsThere(folder / "Missing"));
}

TEST(StoreLifetime, DestroyingTheStoreSweepsTheTemporaryFolder) {
  testkit::TTestFolder folder;
  const std::string tempFolder = folder.MakeFolder("temp");
  testkit::TTempEnvironment temp(tempFolder);
  const std::string other = folder.WriteFile("temp\\not ours.txt", "x");
  std::string logo;
  {
    TAttachedFiles store;
    logo = inst::NewTempFileName();
    ASSERT_EQ(logo.rfind(tempFolder + "\\~", 0), 0u) << logo;
    ASSERT_TRUE(store.ExtractFile(nullptr, "License.txt", logo));
    EXPECT_TRUE(testkit::FileExists(logo));
  }
  EXPECT_FALSE(testkit::FileExists(logo));
  EXPECT_TRUE(testkit::FileExists(other));
}

TEST(StoreDuplicates, ExtractionTakesTheLaterEntryAndQueueingTheEarlier) {
  // The payload writer refuses duplicate names, so this payload is packed here.
  std::vector<std::uint8_t> plain;
  payload::AppendEntry(plain, "Dup.txt", kStamp, reinterpret_cast<const std::uint8_t*>("earlier"),
                       7);
  payload::AppendEntry(plain, "DUP.TXT", kStamp, reinterpret_cast<const std::uint8_t*>("later"), 5);
  uLongf size = compressBound(plain.size());
  std::vector<std::uint8_t> packed(size);
  ASSERT_EQ(compress2(packed.data(), &size, plain.data(), plain.size(), 9), Z_OK);

  testkit::TTestFolder folder;
  testkit::TTempEnvironment temp(folder.MakeFolder("temp"));
  TAttachedFiles store(packed.data(), size);
  ASSERT_EQ(store.Entries.size(), 2u);
  ASSERT_TRUE(store.ExtractFile(nullptr, "dup.txt", folder / "dup.txt"));
  EXPECT_EQ(ReadWholeFile(folder / "dup.txt"), "later");
  ASSERT_TRUE(store.QueueFiles("dup.txt", folder.Path(), 0, 2));
  EXPECT_EQ(store.Queues[0].back()->Entry, store.Entries[0].get());
  EXPECT_EQ(store.Queues[0].back()->Target, folder / "Dup.txt");
}

}  // namespace
