#include <windows.h>

#include <gtest/gtest.h>

#include "instutils/InstUtils.h"
#include "instutils/TempFiles.h"
#include "tests/common/TestFolder.h"

using namespace inst;
using testkit::FolderIsThere;
using testkit::TTestFolder;

namespace {

// A scratch folder that is also the process's temporary folder.
class TempFiles : public ::testing::Test {
 protected:
  TTestFolder dir;
  testkit::TTempEnvironment temp{dir.Path()};
};

TEST_F(TempFiles, NewNameIsCreatedEmptyPastEveryTakenName) {
  // The prefix: "~" and the ASCII letters of "Zentrova Latvian Spellchecker - Setup".
  const std::string base = dir / "~ZentrovaLatvianSpellcheckerSetup";
  const std::string first = NewTempFileName();
  EXPECT_TRUE(SameName(first, base + "0.tmp"));
  EXPECT_TRUE(testkit::FileExists(first));
  EXPECT_EQ(testkit::ReadWholeFile(first), "");
  EXPECT_TRUE(SameName(NewTempFileName(), base + "1.tmp"));  // the first is taken now

  CreateDirectoryA((base + "2.tmp").c_str(), nullptr);  // a folder takes its name as well
  dir.WriteFile("~ZentrovaLatvianSpellcheckerSetup4.tmp", "");
  EXPECT_TRUE(SameName(NewTempFileName(), base + "3.tmp"));
  EXPECT_TRUE(SameName(NewTempFileName(), base + "5.tmp"));
}

TEST_F(TempFiles, CleanRemovesEveryPrefixedEntryAndNothingElse) {
  dir.WriteFile("~ZentrovaLatvianSpellcheckerSetup7.tmp", "x");
  dir.WriteFile("~ZentrovaLatvianSpellcheckerSetupX", "x");
  SetFileAttributesA(dir.WriteFile("~ZentrovaLatvianSpellcheckerSetupH", "x").c_str(),
                     FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(dir.WriteFile("~ZentrovaLatvianSpellcheckerSetupS", "x").c_str(),
                     FILE_ATTRIBUTE_SYSTEM);
  dir.MakeFolder("~ZentrovaLatvianSpellcheckerSetup.old");
  dir.MakeFolder("~ZentrovaLatvianSpellcheckerSetup.old\\inner");
  dir.WriteFile("~ZentrovaLatvianSpellcheckerSetup.old\\inner\\f.txt", "x");
  const std::string readOnly = dir.WriteFile("~ZentrovaLatvianSpellcheckerSetupRO.tmp", "x");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string otherCase = dir.WriteFile("~zentrovalatvianspellcheckersetup0.tmp", "x");
  const std::string partial = dir.WriteFile("~Zentrova.tmp", "x");
  const std::string other = dir.WriteFile("other.txt", "x");
  ASSERT_TRUE(GetFileAttributesA((dir / "~ZentrovaLatvianSpellcheckerSetupH").c_str()) &
              FILE_ATTRIBUTE_HIDDEN);

  CleanTempFiles();

  for (const char* gone : {"~ZentrovaLatvianSpellcheckerSetup7.tmp", "~ZentrovaLatvianSpellcheckerSetupX",
                           "~ZentrovaLatvianSpellcheckerSetupH", "~ZentrovaLatvianSpellcheckerSetupS"})
    EXPECT_FALSE(testkit::FileExists(dir / gone)) << gone;
  EXPECT_FALSE(FolderIsThere(dir / "~ZentrovaLatvianSpellcheckerSetup.old"));
  EXPECT_TRUE(testkit::FileExists(readOnly));
  EXPECT_TRUE(testkit::FileExists(otherCase));
  EXPECT_TRUE(testkit::FileExists(partial));
  EXPECT_TRUE(testkit::FileExists(other));
}

}  // namespace
