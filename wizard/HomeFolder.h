// The home folder of the word processor: where the wizard proposes it from (the shared
// registry key, the "-d" option, the default under Program Files) and how a typed folder
// is cleaned before it is checked.
#pragma once

#include <string>

#include "wizard/CommandLine.h"

namespace wizard {

// HKEY_CURRENT_USER key shared with the word processor.
extern const char* const HomeFolderKey;

struct SavedSettings {
  bool hasMainDir = false;
  std::string mainDir;  // MAINDIR up to its first NUL, whatever the stored type
  bool hasLaunch = false;
  bool launch = true;   // LAUNCH non-zero; absent or not a 4-byte number: checked
};

// Opens the key with creation allowed (so starting the wizard creates it) and reads both
// values. Failures read as absent values.
SavedSettings ReadSettings();
// Writes MAINDIR (REG_SZ with its NUL) and LAUNCH (REG_DWORD 0 or 1); failures are silent.
void WriteSettings(const std::string& mainDir, bool launch);
// Writes MAINDIR alone (the unattended installation leaves LAUNCH as it is).
void WriteMainDir(const std::string& mainDir);

// The proposed home folder and where it came from.
struct HomeProposal {
  std::string folder;
  const char* why;     // in the words of the setup log
  bool named = true;   // false: a "-d" folder the ANSI code page cannot name (folder empty)
};
// MAINDIR when it names an existing folder, else Program Files joined with "Zentrova"; the
// "-d" option overrides both, unchanged but for a long-path prefix.
HomeProposal ProposeHomeDir(const SavedSettings& settings, const TCommandLine& commandLine);

// A folder without its long-path prefix: "\\?\C:\x" is "C:\x" and "\\?\UNC\s\x" is
// "\\s\x". Other text is returned as it is.
std::string WithoutLongPathPrefix(const std::string& folder);
// A path in one of the system's device forms ("\\.\", "\\?\", "\??\"), which no home
// folder is written in once its long-path prefix is gone.
bool IsDevicePath(const std::string& folder);
// Whether the folder holds the word processor (qzv.exe), asked without the system's
// "no disk" box; no folder, a device path or a text with wildcards ("?" stands where the
// code page had no letter) never does.
bool HoldsHost(const std::string& folder);

// The cleaning of the home-folder text: blanks trimmed, a long-path prefix removed, a text
// without drive part becomes the selected drive, one trailing backslash dropped, and a drive
// root or the Program Files folder itself becomes its "Zentrova" sub-folder.
std::string NormalizeDestDirText(std::string text, char selectedDrive,
                                 const std::string& programFiles);

// The drive of the Program Files folder, lower case ('c' without one): the drive of a home
// folder typed without one before any drive is chosen.
char ProgramFilesDrive();

}  // namespace wizard
