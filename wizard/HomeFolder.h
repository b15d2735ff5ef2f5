// The home folder of the word processor: where the wizard proposes it from (the shared
// registry key, the "-d" option, the default under Program Files) and how a typed folder
// is cleaned before it is checked.
#pragma once

#include <string>
#include <vector>

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

// The command line split as the platform's start-up code does it: arguments are separated by
// blanks and control characters; double quotes group blanks into one argument and vanish.
// Element 0 is the program.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// The proposed home folder: MAINDIR when it names an existing folder, else Program Files
// joined with "Zentrova"; a first argument "-d<folder>" overrides both, unchanged.
std::string InitialHomeDir(const SavedSettings& settings, const std::vector<std::string>& args);

// The cleaning of the home-folder text: blanks trimmed, a text without drive part becomes
// the selected drive, one trailing backslash dropped, and a drive root or the Program Files
// folder itself becomes its "Zentrova" sub-folder.
std::string NormalizeDestDirText(std::string text, char selectedDrive,
                                 const std::string& programFiles);

}  // namespace wizard
