// Links that any user of the computer could plant in the shared data folder, where Windows
// lets every user create files and folders, while Setup.exe runs with the highest rights its
// user has. Planted from the Unix side (Wine cannot make them) before a shared installation:
// file links at the fresh names beside lv_LV.dic and the update log, and folder links at
// Public\Orthographe and Hidden, each pointing at files outside. The module files bound for
// the linked folder are refused with the usual box, the stamp is skipped, the rest is
// installed, and every file outside is intact, byte for byte; the links stay as they were.
#include <windows.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/hardening/Hardening.h"

namespace e2e {
namespace {

using testkit::NamesIn;
using testkit::ReadWholeFile;


class SharedLinksTest : public SharedInstallTest {
 protected:
  SharedLinksTest() {
    outside_ = folder_.MakeFolder("outside") + "\\";
    for (const char* sub : {"orthographe", "hidden"}) folder_.MakeFolder(std::string("outside\\") + sub);
    Keep("dic.txt", "the dictionary of someone else");
    Keep("log.txt", "a private file");
    for (const char* file : kModuleFiles) Keep(std::string("orthographe\\") + file, file);
    Keep("hidden\\install_stamp", "a stamp of elsewhere");
    for (const char* sub : {"", "\\Public", "\\Public\\Spellcheck"})
      CreateDirectoryA((SharedZentrova() + sub).c_str(), nullptr);
    // Targets that exist, as after an earlier installation, so that they are replaced.
    std::ofstream(Public("Spellcheck\\lv_LV.dic"), std::ios::binary) << "an older dictionary";
    std::ofstream(LogPath(), std::ios::binary) << "";
    const std::string from = UnixPath(outside_), to = UnixPath(SharedZentrova());
    const char* const planted[][2] = {{"dic.txt", "Public/Spellcheck/lv_LV.dic.new"},
                                      {"log.txt", "Update.log.new"},
                                      {"orthographe", "Public/Orthographe"},
                                      {"hidden", "Hidden"}};
    std::string command = "true";
    for (const auto& [target, link] : planted) {
      links_ += " '" + to + "/" + link + "'";
      command += " && ln -s '" + from + "/" + target + "' '" + to + "/" + link + "'";
    }
    planted_ = !from.empty() && !to.empty() && RunUnix(command);
  }
  // Removed from the Unix side before the fixture clears the shared folder: Wine's own
  // removal would go through them.
  ~SharedLinksTest() override { RunUnix("rm -f" + links_); }

  void Keep(const std::string& name, const std::string& bytes) {
    kept_[folder_.WriteFile("outside\\" + name, bytes)] = bytes;
  }

  std::string outside_, links_;
  std::map<std::string, std::string> kept_;  // every file outside, with its bytes
  bool planted_ = false;
};

TEST_F(SharedLinksTest, NothingOutsideIsWrittenReadOrDeletedThroughAPlantedLink) {
  ASSERT_TRUE(planted_) << "the links could not be planted from the Unix side";
  ASSERT_EQ(GetFileAttributesA(Public("Orthographe").c_str()),
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
  TSetupRun run;
  WalkToReady(run, MakeHome());
  run.Next();
  IgnoreEachRefusedFile(run, Public("Orthographe\\"), kModuleFiles);
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
  // The log lists the Spellcheck group alone: nothing was written through the link.
  const std::vector<std::string> log = CrLfLines(LogPath());
  ASSERT_EQ(log.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(log.begin() + 1, log.end()), LoggedEntries("Spellcheck"));
  EXPECT_EQ(NamesIn(SharedZentrova() + "\\*"),
            (std::vector<std::string>{"Hidden", "Public", "Update.log", "Update.log.new"}));
}

TEST_F(SharedLinksTest, TheSetupLogIsNotWrittenThroughALinkEither) {
  ASSERT_TRUE(planted_) << "the links could not be planted from the Unix side";
  // Below the linked Hidden folder, in a run whose files bound for the linked Orthographe
  // folder are refused (exit code 4): neither the log nor its folders appear outside.
  std::string command = "\"" + Built.setupExe + "\" /S \"-d" + MakeHome() + "\" \"/LOG=" +
                        SharedZentrova() + "\\Hidden\\a\\b\\setup.log\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &si, &pi));
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(code, 4u);
  EXPECT_EQ(NamesIn(outside_ + "hidden\\*"), std::vector<std::string>{"install_stamp"});
  for (const auto& [path, bytes] : kept_) EXPECT_EQ(ReadWholeFile(path), bytes) << path;
}

}  // namespace
}  // namespace e2e
