// What the stand-in word processor finds of the Latvian language module, and what the
// module's spell checker says about a Latvian sample sentence.
#pragma once

#include <string>
#include <vector>

namespace host {

// The six module files, as the setup program installs them into each module folder.
extern const char* const ModuleFiles[6];

struct TModuleFolder {
  std::string Kind;  // "portable Spellcheck", "shared Orthographe", ...
  std::string Path;  // with a trailing backslash
  std::vector<bool> Present;  // one per entry of ModuleFiles
};

// The four places the host looks, in the order it prefers them: its own folder's
// Spellcheck\ and Orthographe\ (portable), then those under the common application-data
// folder's Zentrova\Public\ (shared).
std::vector<TModuleFolder> FindModuleFolders();

// The whole report in UTF-8, lines ending in CR LF: the check of the sample sentence with
// the first folder that holds the engine and the dictionary, then each folder with the
// module files found and missing there.
std::string BuildReport();

}  // namespace host
