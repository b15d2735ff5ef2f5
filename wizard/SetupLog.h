// The setup log asked for with /LOG=path: lines gathered while the program runs (the
// options, the home folder, every module file and what happened to it, the records, the
// exit code) and written once at its end as UTF-8 text, whole, by the same replace as the
// module files. A log that cannot be written changes nothing else, and the log is never
// written over a file the installation writes or relies on.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wizard {

class TSetupLog {
 public:
  // One line of ANSI text, or of wide text.
  void Add(const std::string& line);
  void Add(const std::wstring& line);
  // A file the log must never replace: a module target, a record, the word processor.
  void Protect(const std::wstring& path);
  // The longest path the system takes (in UTF-16 code units).
  static constexpr std::size_t kLongestPath = 32767;
  // Writes the lines to path (missing folders are made); the system's error code.
  // ERROR_BAD_PATHNAME for a path longer than the system takes or with an empty level;
  // ERROR_ACCESS_DENIED, with nothing written, when path names a protected file or this
  // program, in any spelling (another letter case, a short name, a link to it).
  DWORD Save(const std::wstring& path) const;

 private:
  std::string text_;  // UTF-8, CR LF after each line
  std::vector<std::wstring> protected_;
};

// The log of the process, or nullptr when none was asked for.
extern TSetupLog* SetupLog;
// Adds the line to the log when there is one.
void Log(const std::string& line);
void Log(const std::wstring& line);
// Protects the file (ANSI path) from the log when there is one.
void ProtectFromLog(const std::string& path);
// "failed: <the system's text> (error <code>)".
std::string FailureText(DWORD error);
// The program's own file version ("5.1.0.0"), read from its version resource.
std::string ProgramVersion();

}  // namespace wizard
