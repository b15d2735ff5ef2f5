// Runs Setup.exe as a user would and drives its wizard window: finds its controls by
// class and caption as an accessibility tool would, clicks, types, reads what it shows
// and waits for it to end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/common/TestProcess.h"

namespace e2e {

// The built programs, handed to the test program on its command line by ctest.
struct TBuiltPrograms {
  std::string setupExe;  // Setup.exe
  std::string hostExe;   // the stand-in word processor, qzv.exe
};
extern TBuiltPrograms Built;

// A Unix path as Wine's Z: drive shows it.
std::string WinePath(const std::string& unixPath);

class TSetupRun {
 public:
  // Starts Setup.exe with the arguments and waits for the wizard window.
  explicit TSetupRun(const std::string& arguments = "");
  // The same with a wide command-line tail (characters of any code page), from `program`
  // (a copy of Setup.exe; empty: the built one) in `currentFolder` (empty: this process's).
  explicit TSetupRun(const std::wstring& arguments, const std::string& program = "",
                     const std::string& currentFolder = "");
  // Ends the process if it still runs.
  ~TSetupRun();
  TSetupRun(const TSetupRun&) = delete;
  TSetupRun& operator=(const TSetupRun&) = delete;

  DWORD ProcessId() const { return process_.Id(); }
  HWND Form() const { return form_; }

  // A visible (or, with hiddenToo, any) descendant of the wizard window of that window
  // class (case ignored) and, when given, that caption; nullptr when there is none.
  HWND Find(const wchar_t* className, const wchar_t* caption = nullptr,
            bool hiddenToo = false) const;
  // Every visible (or any) descendant of the class, in window order.
  std::vector<HWND> FindAll(const wchar_t* className, bool hiddenToo = false) const;
  // Same as Find, but fails the test when nothing is found within a few seconds.
  HWND Need(const wchar_t* className, const wchar_t* caption = nullptr) const;

  // The header title (the label in the white band).
  std::wstring Title() const;
  // Waits until the header title reads `title`; false on timeout.
  bool WaitForTitle(const std::wstring& title, DWORD timeoutMs = 15000) const;

  // Clicks a visible button by its caption ("&Next >"), posted as a click would be.
  void Click(const wchar_t* caption) const;
  void Next() const { Click(L"&Next >"); }
  void Back() const { Click(L"< &Back"); }
  void Cancel() const { Click(L"Cancel"); }
  void Finish() const { Click(L"&Finish"); }
  // Types a key into the wizard as a person does (testkit::TypeKey): it reaches the
  // control that has the focus. AltKey types Alt and a letter ('B'), a mnemonic.
  void Key(WORD virtualKey) const;
  void AltKey(char letter) const;
  // Ticks or unticks a check box by its caption.
  void SetCheck(const wchar_t* caption, bool checked) const;
  bool Checked(const wchar_t* caption) const;
  // Waits until the check box shows the state; false on timeout.
  bool WaitForCheck(const wchar_t* caption, bool checked) const;
  // The home-folder edit box.
  std::wstring EditText() const;
  void SetEditText(const std::string& text) const;
  // Presses the window's close box.
  void CloseBox() const;

  // Waits for the process to end; its exit code, or STILL_ACTIVE on timeout.
  DWORD WaitForExit(DWORD timeoutMs = 30000);

 private:
  void WaitForForm(const std::wstring& commandLine);

  testkit::TProcess process_;
  HWND form_ = nullptr;
};

}  // namespace e2e
