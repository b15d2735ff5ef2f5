// The setup log asked for with /LOG=path: lines gathered while the program runs (the
// options, the home folder, every module file and what happened to it, the records, the
// exit code) and written once at its end as UTF-8 text, whole, by the same replace as the
// module files. A log that cannot be written changes nothing else.
#pragma once

#include <windows.h>

#include <string>

namespace wizard {

class TSetupLog {
 public:
  // One line of ANSI text.
  void Add(const std::string& line);
  // The longest path the system takes (in UTF-16 code units).
  static constexpr std::size_t kLongestPath = 32767;
  // Writes the lines to path (missing folders are made); the system's error code. A path
  // longer than the system takes, or with an empty level, is refused (ERROR_BAD_PATHNAME).
  DWORD Save(const std::wstring& path) const;

 private:
  std::string text_;  // UTF-8, CR LF after each line
};

// The log of the process, or nullptr when none was asked for.
extern TSetupLog* SetupLog;
// Adds the line to the log when there is one.
void Log(const std::string& line);
// "failed: <the system's text> (error <code>)".
std::string FailureText(DWORD error);
// The program's own file version ("5.1.0.0"), read from its version resource.
std::string ProgramVersion();

}  // namespace wizard
