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
  // the window that stands for the program on the taskbar carries it. LoadIcon loads
  // icon resource id of module (LoadIconA) and its small size.
  HICON Icon() const { return icon_; }
  void LoadIcon(HMODULE module, int id);

  // The first form whose window was created and still exists: the owner of message
  // boxes. Null before.
  TForm* MainForm() const { return mainForm_; }
  HWND MainWindow() const;

  // Shows the exception in an error box with the title as caption (owner: the main
  // window); the program goes on. Called with the exception being handled.
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
