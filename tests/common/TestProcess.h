// A program a test starts and waits for: started from a command line (the program's quoted
// path, then its arguments), ended if it still runs when the owner goes.
#pragma once

#include <windows.h>

#include <string>

#include "instutils/Handles.h"

namespace testkit {

class TProcess {
 public:
  TProcess() = default;
  // Starts it in `folder` (empty: this process's); Started() tells whether it did.
  explicit TProcess(std::wstring commandLine, const std::wstring& folder = L"");
  // The same for a command line in the ANSI code page.
  explicit TProcess(const std::string& commandLine, const std::string& folder = "");
  ~TProcess();
  TProcess(TProcess&&) = default;
  TProcess& operator=(TProcess&& other);

  bool Started() const { return static_cast<bool>(process_); }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.get(); }
  // Waits up to timeoutMs for its end: its exit code, STILL_ACTIVE when it still runs (or
  // never started).
  DWORD WaitForExit(DWORD timeoutMs) const;
  // Ends it (exit code 99) if it still runs, and waits for that.
  void End();
  // Lets it run on, no longer owned: for a Unix program under Wine, whose handle never
  // tells its end.
  void LetRun() { process_.reset(); }

 private:
  inst::UniqueHandle process_;
  DWORD id_ = 0;
};

}  // namespace testkit
