// What the stand-in word processor finds of the Latvian language module and what the module
// does: the spell checker's verdict on a Latvian sample sentence, the hyphenation of some
// long Latvian words, and the records a shared installation leaves for the word processor.
#pragma once

#include <windows.h>

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
// the first folder that holds the engine and the dictionary, the sample words hyphenated
// with the first folder's Latvian.hyph, the install records, then each folder with the
// module files found and missing there.
std::string BuildReport();

// The report's parts, each a block of lines in UTF-8.
// The sample words with their break points, hyphenated with folder's Latvian.hyph.
std::string HyphenateSample(const std::string& folder);
// The install stamp and the update log: whether the stamp equals the log's last stamp
// line, the date-time they stand for, and the files of the log's last group.
std::string DescribeInstallRecords();

// Helpers shared by the parts.
bool FileExists(const std::string& path);
// Text from one code page to another, through UTF-16.
std::string Recode(const std::string& text, UINT from, UINT to);
// Text of the system's ANSI code page (paths, the update log) in UTF-8.
std::string Utf8(const std::string& ansi);
// The Windows code page of a character set named in a dictionary or pattern file
// ("UTF-8", "ISO8859-13"); 0 when it is not known.
UINT CodePageOf(std::string name);
// The common application-data folder with a trailing backslash; empty when there is none.
std::string CommonAppData();

}  // namespace host
