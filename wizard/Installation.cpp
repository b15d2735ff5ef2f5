#include "wizard/Installation.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
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

// One setup at a time changes the records, in whichever session it runs.
const wchar_t kRecordsMutex[] = L"Global\\Zentrova Latvian Spellchecker Setup Records";
// Any user may create or hold the mutex, so the wait has an end.
const DWORD kRecordsWaitMs = 2 * 60 * 1000;
// How often the waiting thread looks at its windows, so that they never count as hung.
const DWORD kPaintMs = 250;

void WriteUpdateLog(const std::string& sharedData, inst::TPinnedFolders& shared, double installTime) {
  std::vector<std::string>& publicFiles = payload::AttachedFiles->PublicFiles;
  if (publicFiles.empty()) return;
  SortLogLines(publicFiles);
  const std::string path = UpdateLogPath(sharedData);
  try {
    TLogText log;
    if (inst::FileExists(path)) log = LoadLogText(path, &shared);
    MergeUpdateLog(log.lines, publicFiles, installTime);
    SaveLogText(path, log, &shared);
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

TRunCheck CheckBeforeRun(const std::string& homeDir) {
  if (HostIsRunning()) return TRunCheck::HostRunning;
  // The folder accepted earlier may have gone since (a stick pulled).
  if (!HoldsHost(homeDir)) return TRunCheck::WrongFolder;
  return TRunCheck::Ready;
}

std::string InstallStampPath(const std::string& sharedData) {
  return inst::JoinPath(sharedData, inst::kInstallStampFile);
}
std::string UpdateLogPath(const std::string& sharedData) {
  return inst::JoinPath(sharedData, inst::kUpdateLogFile);
}

TInstallation::TInstallation(const std::string& homeDir, const std::string& why)
    : HomeDir(homeDir),
      Portable(OnExternalDrive(homeDir)),
      sharedData_(inst::SharedDataFolder()),
      sharedFolders_(sharedData_) {
  ProtectFromLog(inst::JoinPath(HomeDir, inst::kHostExe));
  Log("Home folder: " + HomeDir + " (" + why + ")");
  Log(Portable ? "Installation: portable (the home folder lies on a removable drive)"
               : "Installation: shared (the module files go to the common data folder)");
}

TInstallation::~TInstallation() { GiveBackRecords(); }

bool TInstallation::TakeRecords() {
  inst::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kRecordsMutex));
  // Made by a setup of another user, it may be open to waiting and releasing only.
  if (!mutex) mutex.reset(OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kRecordsMutex));
  if (!mutex) {
    Log("Nothing installed: the records' lock cannot be opened, " + FailureText(GetLastError()));
    return false;
  }
  HANDLE handle = mutex.get();
  // Abandoned: the setup that held it was killed; the lock is this one's now.
  const auto owned = [](DWORD result) { return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0; };
  const DWORD start = GetTickCount();
  if (!owned(WaitForSingleObject(handle, 0))) {
    Log("Another setup is changing the records: waiting for it, two minutes at most");
    for (;;) {
      const DWORD waited = GetTickCount() - start;
      if (waited >= kRecordsWaitMs) {
        Log("Nothing installed: another setup kept the records for two minutes");
        return false;
      }
      const DWORD result = MsgWaitForMultipleObjects(
          1, &handle, FALSE, std::min(kRecordsWaitMs - waited, kPaintMs), QS_PAINT | QS_SENDMESSAGE);
      if (owned(result)) break;
      if (result == WAIT_FAILED) {
        Log("Nothing installed: the records' lock " + FailureText(GetLastError()));
        return false;
      }
      // Windows are painted and sent messages answered; clicks and keys wait for the end.
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) DispatchMessageW(&msg);
    }
    Log("The other setup has finished: going on");
  }
  records_ = std::move(mutex);
  return true;
}

void TInstallation::GiveBackRecords() {
  if (!records_) return;
  ReleaseMutex(records_.get());
  records_.reset();
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
    for (const TModuleFile& file : kModuleFiles)
      ProtectFromLog(inst::JoinPath(folders[i], file.name));
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
    // Ignored: the old copy stays, and with it its old entry and group in the update log.
    if (outcome.error)
      std::erase_if(store.PublicFiles, [&](const std::string& line) {
        return line == job->Target || line == job->Target + "\t!";
      });
  }
  return true;
}

void TInstallation::FinishStep() {
  if (!Portable) {
    InstallTime = inst::NowAsDateTime();
    const std::string stamp = InstallStampPath(sharedData_);
    const bool stamped = WriteInstallStamp(stamp, InstallTime, &sharedFolders_);
    Log("Install stamp " + stamp + ": " +
        (stamped ? "written, " + StampLine(InstallTime) : std::string("skipped, not writable")));
    WriteUpdateLog(sharedData_, sharedFolders_, InstallTime);
  }
  GiveBackRecords();
}

int InstallUnattended(const TCommandLine& commandLine) {
  const HomeProposal proposal = ProposeHomeDir(ReadSettings(), commandLine);
  const std::string home =
      proposal.named ? NormalizeDestDirText(proposal.folder, ProgramFilesDrive(),
                                            inst::GetSpecialFolder(CSIDL_PROGRAM_FILES))
                     : std::string();
  switch (CheckBeforeRun(home)) {
    case TRunCheck::HostRunning:
      Log("Nothing installed: the word processor is running");
      return kExitNothingInstalled;
    case TRunCheck::WrongFolder:
      if (proposal.named)
        Log("Nothing installed: the home folder " + home + " (" + proposal.why + ") holds no " +
            inst::kHostExe);
      else
        Log(L"Nothing installed: the home folder " + commandLine.homeDirTyped +
            L" (given by the -d option) cannot be named in the system's code page");
      return kExitNothingInstalled;
    case TRunCheck::Ready:
      break;
  }
  TInstallation installation(home, proposal.why);
  if (!installation.TakeRecords()) return kExitFailed;
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
