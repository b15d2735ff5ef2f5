// Keeps the system's critical-error dialogs ("There is no disk in the drive") away while
// a drive is asked about; the previous error mode comes back on every path.
#pragma once

#include <windows.h>

namespace inst {

class TCriticalErrorsSuppressed {
 public:
  TCriticalErrorsSuppressed() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~TCriticalErrorsSuppressed() { SetErrorMode(previous_); }
  TCriticalErrorsSuppressed(const TCriticalErrorsSuppressed&) = delete;
  TCriticalErrorsSuppressed& operator=(const TCriticalErrorsSuppressed&) = delete;

 private:
  UINT previous_;
};

}  // namespace inst
