// The command line of Setup.exe, read once at start: the options (/S, /LOG=, /LANG=, /?,
// /help) and the "-d" home folder. It is read wide, so that no character is changed on the
// way: the options are ASCII words, the home folder is used only when the ANSI code page
// names it exactly, and the log's path stays wide.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "instutils/Language.h"

namespace wizard {

// The command line split as the platform's start-up code does it: arguments are separated by
// blanks and control characters; double quotes group blanks into one argument and vanish.
// Element 0 is the program.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

// What the command line asks. The options are taken out wherever they stand, in any letter
// case of their ASCII names, each also with "-" for "/"; a look-alike (a full-width "／S")
// is no option. The first argument left is the "-d" option when it begins with "-d".
struct TCommandLine {
  std::wstring typed;  // the whole command line, as typed
  bool silent = false;
  bool help = false;
  bool hasLog = false;
  std::wstring logPath;                     // the last /LOG= given
  std::optional<inst::TLanguage> language;  // the last /LANG=en or /LANG=lv; other values none
  bool hasHomeDir = false;                  // "-d" given
  std::wstring homeDirTyped;                // its folder as typed
  // Its folder in the ANSI code page; none when the code page cannot name it exactly (the
  // narrow calls would name another folder, a look-alike letter's).
  std::optional<std::string> homeDir;
};
TCommandLine ReadCommandLine(const std::vector<std::wstring>& args);
// The process's own command line.
TCommandLine ReadCommandLine();

// The text of the help box (/? and /help): the options and the exit codes.
extern const char* const kOptionsHelpText;

}  // namespace wizard
