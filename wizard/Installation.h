// The installation as the wizard and the unattended mode both run it: the checks made
// before it, the run that writes the module files into the module folders, and the finish
// step that records a shared installation for the word processor.
#pragma once

#include <string>

#include "instutils/Handles.h"
#include "wizard/CommandLine.h"

#include "instutils/PinnedFolders.h"

namespace wizard {

// The exit codes of an unattended installation (the wizard ends with 0, or 1 when it
// cannot start).
enum TExitCode : int {
  kExitInstalled = 0,
  kExitCannotStart = 1,       // a damaged program or payload
  kExitNothingInstalled = 2,  // no qzv.exe in the home folder, or the word processor runs
  kExitFailed = 4,            // a module file or the update log could not be written, or
                              // another setup kept the records too long
};

// True when a top-level window carries the word processor's running-instance property.
bool HostIsRunning();

// The checks before the installation run, in the order the wizard's pages make them: the
// word processor must not run, and the home folder must (still) hold it.
enum class TRunCheck { Ready, HostRunning, WrongFolder };
TRunCheck CheckBeforeRun(const std::string& homeDir);

// The records a shared installation leaves in the shared data folder.
std::string InstallStampPath(const std::string& sharedData);
std::string UpdateLogPath(const std::string& sharedData);

class TInstallation {
 public:
  // Decides once, for the run and its finish step, whether the installation is portable
  // (the home folder lies on a removable, USB or IEEE 1394 drive) or shared.
  TInstallation(const std::string& homeDir, const std::string& why);
  ~TInstallation();
  TInstallation(const TInstallation&) = delete;
  TInstallation& operator=(const TInstallation&) = delete;

  // Takes the records for this installation: one setup at a time writes module files, the
  // stamp and the update log, from the run to the end of its finish step, across every
  // session of the computer. Waits while another setup holds them (repainting this thread's
  // windows meanwhile); one that was killed leaves them at once. False when they are still
  // held after two minutes: nothing may be written then.
  bool TakeRecords();
  // Queues the module files for every module folder and writes them one by one through
  // the store (which asks about a file it cannot write). False after Abort: the files
  // written before stay, the failed one keeps its older copy.
  bool Run();
  // For a shared installation, the install stamp and the update log; then the records are
  // given back. Throws with the update log's name and the reason when it cannot be merged
  // (the records stay taken for another try).
  void FinishStep();

  const std::string HomeDir;
  const bool Portable;
  double InstallTime = 0;  // the moment of a shared installation's finish step

 private:
  // The shared data folder, asked of the shell once for the run and the finish step, and
  // its folders that they write in, checked once and held from the first file to the end
  // of the installation.
  const std::string sharedData_;
  inst::TPinnedFolders sharedFolders_;
  void GiveBackRecords();
  inst::UniqueHandle records_;  // the records' mutex while this installation owns it
};

// The unattended installation (/S): the home folder the wizard would propose, the checks of
// its pages, the run and the finish step, MAINDIR saved. No window and no box; the exit code
// tells the outcome.
int InstallUnattended(const TCommandLine& commandLine);

}  // namespace wizard
