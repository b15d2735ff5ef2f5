#include "wizard/Installation.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <exception>

#include "instutils/CriticalErrorsSuppressed.h"
#include "instutils/Files.h"
#include "instutils/InstUtils.h"
#include "instutils/PinnedFolders.h"
#include "instutils/ProductNames.h"
#include "payload/AttachFiles.h"
#include "wizard/HomeFolder.h"
#include "wizard/SetupLog.h"
#include "wizard/UpdateLog.h"

namespace wizard {

namespace {

struct TModuleFile {
  const char* name;
  std::uint8_t mode;
};
// The module files, in the order they are queued for every chosen folder.
const TModuleFile kModuleFiles[] = {
    {"Latvian.asc", payload::kAlwaysReplace},
    {"hunspell.dll", payload::kReplaceWhenDateDiffers},
    {"lv_LV.dic", payload::kReplaceWhenDateDiffers},
    {"lv_LV.aff", payload::kReplaceWhenDateDiffers},
    {"userdiclv.tlx", payload::kKeepExisting},
    {"Latvian.hyph", payload::kReplaceWhenDateDiffers},
};

BOOL CALLBACK FindHostWindow(HWND window, LPARAM found) {
  if (GetPropA(window, inst::kHostWindowProperty) == nullptr) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

bool OnExternalDrive(const std::string& folder) {
  const inst::TCriticalErrorsSuppressed quiet;
  return inst::IsExternalDrive(folder);
}

void WriteUpdateLog(const std::string& sharedData, inst::TPinnedFolders& shared,
                    double installTime) {
  std::vector<std::string>& publicFiles = payload::AttachedFiles->PublicFiles;
  if (publicFiles.empty()) return;
  SortLogLines(publicFiles);
  const std::string path = inst::JoinPath(sharedData, inst::kUpdateLogFile);
  try {
    std::vector<std::string> log;
    if (inst::FileExists(path)) log = LoadLogLines(path, &shared);
    MergeUpdateLog(log, publicFiles, installTime);
    SaveLogLines(path, log, &shared);
  } catch (const std::exception& error) {
    Log("Update log " + path + ": failed: " + error.what());
    throw;
  }
  Log("Update log " + path + ": merged, " + std::to_string(publicFiles.size()) + " files");
}

}  // namespace

bool HostIsRunning() {
  bool found = false;
  EnumWindows(FindHostWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

TInstallation::TInstallation(const std::string& homeDir, const std::string& why)
    : HomeDir(homeDir),
      Portable(OnExternalDrive(homeDir)),
      sharedData_(inst::SharedDataFolder()),
      sharedFolders_(sharedData_) {
  Log("Home folder: " + HomeDir + " (" + why + ")");
  Log(Portable ? "Installation: portable (the home folder lies on a removable drive)"
               : "Installation: shared (the module files go to the common data folder)");
}

bool TInstallation::Run() {
  payload::TAttachedFiles& store = *payload::AttachedFiles;
  store.ForceOverwrite = !Portable;
  payload::CollectPublicFiles = true;

  const std::string base = Portable ? HomeDir : inst::JoinPath(sharedData_, inst::kPublicSubfolder);
  std::string folders[2];
  for (int i = 0; i < 2; ++i) folders[i] = inst::JoinPath(base, inst::kModuleSubfolders[i]);
  const bool exists[2] = {inst::FolderExists(folders[0]), inst::FolderExists(folders[1])};
  for (int i = 0; i < 2; ++i) {
    // Every existing module folder gets the files; with neither, the first one is made.
    if (!exists[i] && !(i == 0 && !exists[1])) continue;
    for (const TModuleFile& file : kModuleFiles)
      if (!store.QueueFiles(file.name, folders[i], 0, file.mode))
        Log("File " + inst::JoinPath(folders[i], file.name) + ": kept by its overwrite rule");
  }
  inst::InstallStarted = true;

  // Every file goes through the folders checked and held once for the whole installation.
  store.SharedFolders = &sharedFolders_;
  const struct TReleased {
    payload::TAttachedFiles& store;
    ~TReleased() { store.SharedFolders = nullptr; }
  } released{store};
  for (const auto& job : store.Queues[0]) {
    const payload::TExtractOutcome outcome = store.ExtractFile(job->Entry, "", job->Target);
    std::string text = outcome.error ? FailureText(outcome.error) : "written";
    if (outcome.error) text += outcome.goOn ? ", ignored" : ", the installation stops";
    Log("File " + job->Target + ": " + text);
    if (!outcome) return false;  // Abort; what was written stays
  }
  return true;
}

void TInstallation::FinishStep() {
  if (Portable) return;
  InstallTime = inst::NowAsDateTime();
  const std::string stamp = inst::JoinPath(sharedData_, inst::kInstallStampFile);
  const bool stamped = WriteInstallStamp(stamp, InstallTime, &sharedFolders_);
  Log("Install stamp " + stamp + ": " +
      (stamped ? "written, " + StampLine(InstallTime) : std::string("skipped, not writable")));
  WriteUpdateLog(sharedData_, sharedFolders_, InstallTime);
}

int InstallUnattended(const std::vector<std::string>& args) {
  const HomeProposal proposal = ProposeHomeDir(ReadSettings(), args);
  const std::string home = NormalizeDestDirText(proposal.folder, ProgramFilesDrive(),
                                                inst::GetSpecialFolder(CSIDL_PROGRAM_FILES));
  if (!HoldsHost(home)) {
    Log("Nothing installed: the home folder " + home + " (" + proposal.why +
        ") holds no " + inst::kHostExe);
    return kExitNothingInstalled;
  }
  if (HostIsRunning()) {
    Log("Nothing installed: the word processor is running");
    return kExitNothingInstalled;
  }
  TInstallation installation(home, proposal.why);
  int code = kExitInstalled;
  try {
    if (!installation.Run()) code = kExitFailed;
    else installation.FinishStep();
  } catch (const std::exception&) {
    code = kExitFailed;  // the update log, already in the log
  }
  WriteMainDir(home);
  Log("MAINDIR saved: " + home);
  return code;
}

}  // namespace wizard
