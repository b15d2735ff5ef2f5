// Links that any user of the computer could plant in the shared data folder, where Windows
// lets every user create files and folders, while Setup.exe runs with the highest rights its
// user has. Planted from the Unix side (Wine cannot make them) before a shared installation:
// file links at the fresh names beside lv_LV.dic and the update log, and folder links at
// Public\Orthographe and Hidden, each pointing at files outside. The module files bound for
// the linked folder are refused with the usual box, the stamp is skipped, the rest is
// installed, and every file outside is intact, byte for byte; the links stay as they were.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tests/hardening/Hardening.h"

namespace e2e {
namespace {

using testkit::NamesIn;
using testkit::ReadWholeFile;

const char* const kModuleFiles[] = {"Latvian.asc", "hunspell.dll", "lv_LV.dic",
                                    "lv_LV.aff",   "userdiclv.tlx", "Latvian.hyph"};

class SharedLinksTest : public SharedInstallTest {
 protected:
  SharedLinksTest() {
    outside_ = folder_.MakeFolder("outside") + "\\";
    folder_.MakeFolder("outside\\orthographe");
    folder_.MakeFolder("outside\\hidden");
    Keep("dic.txt", "the dictionary of someone else");
    Keep("log.txt", "a private file");
    for (const char* file : kModuleFiles) Keep(std::string("orthographe\\") + file, file);
    Keep("hidden\\install_stamp", "a stamp of elsewhere");

    for (const char* sub : {"", "\\Public", "\\Public\\Spellcheck"})
      CreateDirectoryA((SharedZentrova() + sub).c_str(), nullptr);
    const std::string from = UnixPath(outside_), to = UnixPath(SharedZentrova());
    links_ = {to + "/Public/Spellcheck/lv_LV.dic.new", to + "/Update.log.new",
              to + "/Public/Orthographe", to + "/Hidden"};
    planted_ = !from.empty() && !to.empty() &&
               RunUnix("ln -s '" + from + "/dic.txt' '" + links_[0] + "' && ln -s '" + from +
                       "/log.txt' '" + links_[1] + "' && ln -s '" + from + "/orthographe' '" +
                       links_[2] + "' && ln -s '" + from + "/hidden' '" + links_[3] + "'");
  }
  // Removed from the Unix side before the fixture clears the shared folder: Wine's own
  // removal would go through them.
  ~SharedLinksTest() override {
    std::string command = "rm -f";
    for (const std::string& link : links_) command += " '" + link + "'";
    RunUnix(command);
  }

  void Keep(const std::string& name, const std::string& bytes) {
    kept_[folder_.WriteFile("outside\\" + name, bytes)] = bytes;
  }

  std::string outside_;
  std::map<std::string, std::string> kept_;  // every file outside, with its bytes
  std::vector<std::string> links_;
  bool planted_ = false;
};

TEST_F(SharedLinksTest, NothingOutsideIsWrittenReadOrDeletedThroughAPlantedLink) {
  ASSERT_TRUE(planted_) << "the links could not be planted from the Unix side";
  ASSERT_EQ(GetFileAttributesA(Public("Orthographe").c_str()),
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
  TSetupRun run;
  WalkToReady(run, MakeHome());
  run.Next();
  for (const char* file : kModuleFiles) {
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value()) << file;
    const std::string expected = "Cannot create file \"" + Public("Orthographe\\") + file + "\".";
    EXPECT_EQ(box->text.rfind(std::wstring(expected.begin(), expected.end()), 0), 0u)
        << std::string(box->text.begin(), box->text.end());
    EXPECT_EQ(box->ButtonIds(), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
    Answer(*box, IDIGNORE);
  }
  ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
  FinishAndExit(run);  // the stamp is skipped without a word

  for (const auto& [path, bytes] : kept_) EXPECT_EQ(ReadWholeFile(path), bytes) << path;
  EXPECT_EQ(NamesIn(outside_ + "*"), (std::vector<std::string>{"dic.txt", "hidden", "log.txt",
                                                               "orthographe"}));
  EXPECT_EQ(NamesIn(outside_ + "hidden\\*"), std::vector<std::string>{"install_stamp"});
  EXPECT_EQ(NamesIn(outside_ + "orthographe\\*").size(), std::size(kModuleFiles));
  // The installation itself went on beside the links, which are left alone.
  for (const char* file : kModuleFiles)
    EXPECT_TRUE(testkit::FileExists(Public("Spellcheck\\") + file)) << file;
  EXPECT_GT(ReadWholeFile(Public("Spellcheck\\lv_LV.dic")).size(), 1000u);
  EXPECT_EQ(ReadWholeFile(Public("Spellcheck\\lv_LV.dic.new")), kept_[outside_ + "dic.txt"]);
  EXPECT_EQ(CrLfLines(LogPath()).size(), 13u);
  EXPECT_EQ(NamesIn(SharedZentrova() + "\\*"),
            (std::vector<std::string>{"Hidden", "Public", "Update.log", "Update.log.new"}));
}

}  // namespace
}  // namespace e2e
