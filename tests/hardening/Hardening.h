// What the hardening tests share beyond the end-to-end fixture: an environment value for the
// programs they start, and a fixture for shared installations that reaches the finish page.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/WizardFixture.h"

namespace e2e {

// The module files in the order the installation run queues them for a folder.
inline const std::vector<const char*> kModuleFiles = {
    "Latvian.asc", "hunspell.dll", "lv_LV.dic", "lv_LV.aff", "userdiclv.tlx", "Latvian.hyph"};

// Sets (or, with nullptr, removes) one environment variable of this process, inherited by
// the programs it starts, for the owner's lifetime.
class TEnvironmentValue {
 public:
  TEnvironmentValue(const char* name, const char* value);
  TEnvironmentValue(const char* name, const std::string& value)
      : TEnvironmentValue(name, value.c_str()) {}
  ~TEnvironmentValue();
  TEnvironmentValue(const TEnvironmentValue&) = delete;
  TEnvironmentValue& operator=(const TEnvironmentValue&) = delete;

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

// Runs a shell command line on the Unix side (Wine starts Unix programs as well) and waits
// for it: true when it ran and ended with exit code 0. Tests plant links this way, which
// Windows programs under Wine cannot make.
bool RunUnix(const std::string& command);
// The Unix path of an existing file or folder.
std::string UnixPath(const std::string& path);

// A shared installation (home folder on a fixed drive) walked to its finish page.
class SharedInstallTest : public WizardTest {
 protected:
  std::string Public(const std::string& sub) const { return SharedZentrova() + "\\Public\\" + sub; }
  std::string LogPath() const { return SharedZentrova() + "\\Update.log"; }

  // Welcome to the finish page through the ready page, with a fresh home folder.
  void InstallToFinishPage(TSetupRun& run);
  // Finish with the launch box cleared; the wizard must end with exit code 0.
  static void FinishAndExit(TSetupRun& run);
  // Presses a box's button and waits until the box has gone.
  static void Answer(const testkit::TMessageBox& box, int button);
  // Expects the "Cannot create file" box with Abort, Retry and Ignore for each file of
  // folder in turn, answers Ignore to each, and waits for the finish page.
  void IgnoreEachRefusedFile(const TSetupRun& run, const std::string& folder,
                             const std::vector<const char*>& files);

  // The lines of a CR LF text file; a failure when a line end is anything else.
  static std::vector<std::string> CrLfLines(const std::string& path);
  // The module files as the update log lists them for one module folder, sorted as the
  // log sorts them.
  std::vector<std::string> LoggedEntries(const std::string& sub) const;
};

}  // namespace e2e
