// The process-wide application object: title, icon and main window, and the default
// handling of exceptions that escape an event handler.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace ui {

class TForm;

class TApplication {
 public:
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // The icon of every form: set on each form's window (WM_SETICON, big and small), so
  // the window that stands for the program on the taskbar carries it. SetIconResource
  // loads icon resource id of module (LoadIconA) and its small size.
  HICON Icon() const { return icon_; }
  void SetIconResource(HMODULE module, int id);

  // The first form whose window was created and still exists: the owner of every
  // message box (handed to inst::SetMessageOwner). Null before.
  TForm* MainForm() const { return mainForm_; }
  HWND MainWindow() const;

  // Shows the exception's text in the setup's error box (inst::SetupMessage: the setup
  // title as caption, owned by the main window); the program goes on.
  void HandleException(std::exception_ptr error);
  void ShowException(const std::string& message);

  // Handles the messages waiting in the queue, then returns.
  void ProcessMessages();

 private:
  friend class TForm;
  void FormCreated(TForm* form);
  void FormDestroyed(TForm* form);

  std::string title_;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  TForm* mainForm_ = nullptr;
};

extern TApplication Application;

}  // namespace ui
