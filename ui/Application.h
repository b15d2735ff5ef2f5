// The process-wide application object: the icon and the main window of the program, and
// the default handling of exceptions that escape an event handler.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>

#include "instutils/UserText.h"

namespace ui {

// The error box's text for an exception that is not a standard one.
inline constexpr char kUnknownErrorText[] = USER_TEXT("An unknown error occurred.");

class TForm;

class TApplication {
 public:
  // The icon of every form: set on each form's window (WM_SETICON, big and small), so
  // the window that stands for the program on the taskbar carries it. SetIconResource
  // loads icon resource id of module (LoadIconW) and its small size.
  HICON Icon() const { return icon_; }
  void SetIconResource(HMODULE module, int id);

  // The window of the first form whose window was created and still exists: the owner of
  // every message box (handed to inst::SetMessageOwner). Null before.
  HWND MainWindow() const;

  // Runs an event's work under the default error handling: an exception that escapes it
  // is shown in the setup's error box (inst::SetupMessage: the setup title as caption,
  // owned by the main window; the exception's text in the user's language, inst::UserText)
  // and the program goes on. False when one escaped.
  bool RunGuarded(const std::function<void()>& work);

 private:
  friend class TForm;
  void FormCreated(TForm* form);
  void FormDestroyed(TForm* form);

  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  TForm* mainForm_ = nullptr;
};

extern TApplication Application;

}  // namespace ui
