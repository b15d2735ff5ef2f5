// The folder arithmetic of the folder tree list, on real folders of the test prefix.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "filectrl/FolderPaths.h"
#include "instutils/InstUtils.h"
#include "tests/common/TestFolder.h"

using filectrl::AncestorChain;
using filectrl::FolderDepth;
using filectrl::FolderOnDrive;
using filectrl::NearestExistingFolder;
using filectrl::SubFolderNames;
using Names = std::vector<std::string>;

namespace {

std::string WithoutBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// A folder at the same place on two drives, removed again with everything below it.
class TFolderOnTwoDrives {
 public:
  TFolderOnTwoDrives(char first, char second, const std::string& relative)
      : top_("fctest-" + std::to_string(GetCurrentProcessId())), relative_(relative),
        drives_{first, second} {
    for (char d : drives_) inst::MakeFolders(Path(d));
  }
  ~TFolderOnTwoDrives() {
    for (char d : drives_) testkit::RemoveTreeForce(std::wstring(1, wchar_t(d)) + L":\\" +
                                                    std::wstring(top_.begin(), top_.end()));
  }
  std::string Path(char drive) const { return std::string(1, drive) + ":\\" + top_ + "\\" + relative_; }

 private:
  std::string top_, relative_;
  char drives_[2];
};

}  // namespace

TEST(FolderPathsTest, DepthAndAncestorsFollowTheBackslashes) {
  EXPECT_EQ(FolderDepth("C:\\"), 0);
  EXPECT_EQ(FolderDepth("C:\\A"), 1);
  EXPECT_EQ(FolderDepth("C:\\A\\B\\"), 2);
  EXPECT_EQ(AncestorChain("C:\\"), (Names{"C:\\"}));
  EXPECT_EQ(AncestorChain("C:\\Program Files\\"), (Names{"C:\\", "C:\\Program Files"}));
  EXPECT_EQ(AncestorChain("c:\\a\\b c\\d"), (Names{"c:\\", "c:\\a", "c:\\a\\b c", "c:\\a\\b c\\d"}));
  EXPECT_EQ(AncestorChain(""), Names{});
  EXPECT_EQ(filectrl::NamePart("c:\\a\\Beta"), "Beta");
  EXPECT_EQ(filectrl::NamePart("c:"), "");
}

TEST(FolderPathsTest, SubFoldersSortLikeTheUserLocaleWithoutHiddenOrSystemOnes) {
  testkit::TTestFolder root;
  for (const char* name : {"gamma", "beta", "Alpha", "b-z", "Hidden", "System"}) root.MakeFolder(name);
  root.WriteFile("a file", "not a folder");
  SetFileAttributesA((root / "Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((root / "System").c_str(), FILE_ATTRIBUTE_SYSTEM);
  const std::string before = inst::CurrentFolder();

  // String sort: the hyphen counts, so b-z comes before beta (a word sort would put it after).
  EXPECT_EQ(SubFolderNames(root.Path()), (Names{"Alpha", "b-z", "beta", "gamma"}));
  EXPECT_EQ(SubFolderNames(WithoutBackslash(root.Path())), (Names{"Alpha", "b-z", "beta", "gamma"}));
  EXPECT_EQ(SubFolderNames(root / "missing"), Names{});
  EXPECT_EQ(inst::CurrentFolder(), before);
}

TEST(FolderPathsTest, AMissingTailLeadsToTheNearestExistingFolder) {
  testkit::TTestFolder root;
  root.MakeFolder("Program Files");
  const std::string before = inst::CurrentFolder();

  EXPECT_EQ(NearestExistingFolder(root / "Program Files\\Zentrova\\Spellcheck\\x"), root / "Program Files\\");
  EXPECT_EQ(NearestExistingFolder(root / "Program Files"), root / "Program Files");
  // The walk stops at the root of a drive that does not exist.
  EXPECT_EQ(NearestExistingFolder("Q:\\no\\such\\folder"), "Q:\\");
  EXPECT_EQ(NearestExistingFolder("\\\\nowhere\\share\\a\\b"), "\\\\nowhere\\share\\");
  EXPECT_EQ(inst::CurrentFolder(), before);
}

TEST(FolderPathsTest, AnotherDriveShowsHostFolderThenSamePathThenRoot) {
  const std::string programFiles = inst::GetSpecialFolder(CSIDL_PROGRAM_FILES);
  ASSERT_FALSE(programFiles.empty());
  const char pfDrive = programFiles[0];
  const std::string host = programFiles + "\\Zentrova";
  const bool hostWasThere = inst::FolderExists(host);
  if (hostWasThere) {
    EXPECT_EQ(FolderOnDrive(pfDrive, "e:\\", programFiles), host);
  } else {
    EXPECT_EQ(FolderOnDrive(pfDrive, "e:\\", programFiles), programFiles + "\\");
    ASSERT_TRUE(CreateDirectoryA(host.c_str(), nullptr));
    EXPECT_EQ(FolderOnDrive(pfDrive, "e:\\", programFiles), host);
    RemoveDirectoryA(host.c_str());
  }

  // e: is the test prefix's removable drive; the same path exists on both drives.
  const TFolderOnTwoDrives same(pfDrive, 'e', "same\\place");
  EXPECT_EQ(FolderOnDrive('e', same.Path(pfDrive), programFiles), same.Path('e'));
  EXPECT_EQ(FolderOnDrive('e', same.Path(pfDrive) + "\\only here", programFiles), "e:\\");
  EXPECT_EQ(FolderOnDrive('n', same.Path('e'), programFiles), "n:\\");
}
