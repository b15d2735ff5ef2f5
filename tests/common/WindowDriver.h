// Drives windows the way a person or an accessibility tool would: finds top-level windows
// by class, caption and process, reads message boxes (caption, text, icon, buttons) and
// presses their buttons. Works on windows of this process (answering a box from a helper
// thread while the test's own thread waits in it) and of other processes.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace testkit {

// Long enough for a loaded machine, short enough that a missing window fails the test.
inline constexpr DWORD kWindowTimeoutMs = 15000;
// The window class of standard dialogs and message boxes.
inline constexpr wchar_t kDialogClass[] = L"#32770";

// A visible top-level window matching class and caption (nullptr: any) of the process
// (0: any), looked for once; nullptr when there is none. Another process's window is read
// as the system keeps it, without a message that would wait on that process.
HWND FindWindowNow(const wchar_t* className, const wchar_t* caption, DWORD processId = 0);
// The same, polled until timeoutMs has passed; nullptr when none appeared.
HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs,
                   DWORD processId = 0);
// Polls until the window is gone or no longer visible; false on timeout.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);

// The icon of a message box, by comparing its image with the system's standard icons.
enum class TBoxIcon { None, Warning, Error, Information, Question, Unknown };
const char* IconName(TBoxIcon icon);

struct TBoxButton {
  int id = 0;  // IDOK .. IDNO
  std::wstring caption;
};

struct TMessageBox {
  HWND window = nullptr;
  HWND owner = nullptr;
  std::wstring caption;
  std::wstring text;  // exactly as the box holds it (bare carriage returns included)
  TBoxIcon icon = TBoxIcon::None;
  std::vector<TBoxButton> buttons;  // the visible buttons, in window order
  int textLines = 0;                // lines the text takes in the box (height / line height)

  std::vector<int> ButtonIds() const;
};

// Reads a message box: its caption, the static text (control id 0xFFFF), the icon and the
// visible push buttons.
TMessageBox ReadMessageBox(HWND box);

// Waits for a visible message box of the process (0: any) with the given caption
// (nullptr: any) and reads it.
std::optional<TMessageBox> WaitForMessageBox(DWORD timeoutMs = kWindowTimeoutMs,
                                             DWORD processId = GetCurrentProcessId(),
                                             const wchar_t* caption = nullptr);

// Types one key as a person does: brings the top-level window to the foreground, then
// sends the key down and up as real input (SendInput), with Alt held around it when asked.
// The keys reach whatever has the focus there; false when the window could not be brought
// to the foreground.
bool TypeKey(HWND window, WORD virtualKey, bool alt = false);

// Presses a button of a dialog as a click would (BM_CLICK, posted: it returns at once);
// false when there is no such visible, enabled button.
bool PressButton(HWND dialog, int buttonId);

// Answers message boxes of this process from a helper thread, while the test's thread
// waits inside the call that shows them. For each box in turn, `choose` sees what the box
// shows and returns the button to press. Use Seen() (which waits for the thread) to check
// what the boxes showed; a box that never came leaves Seen() shorter.
class TBoxAnswerer {
 public:
  using TChooser = std::function<int(const TMessageBox&)>;
  explicit TBoxAnswerer(int buttonId, int boxes = 1, DWORD timeoutMs = kWindowTimeoutMs);
  explicit TBoxAnswerer(TChooser choose, int boxes = 1, DWORD timeoutMs = kWindowTimeoutMs);
  ~TBoxAnswerer();
  TBoxAnswerer(const TBoxAnswerer&) = delete;
  TBoxAnswerer& operator=(const TBoxAnswerer&) = delete;

  const std::vector<TMessageBox>& Seen();

 private:
  std::vector<TMessageBox> seen_;
  std::thread thread_;
};

// Holds a file open with no sharing, as another program using the file would: every other
// open for writing (from this or any other process) fails with a sharing violation until
// Release() or destruction.
class TFileHolder {
 public:
  explicit TFileHolder(const std::string& path);
  ~TFileHolder();
  TFileHolder(const TFileHolder&) = delete;
  TFileHolder& operator=(const TFileHolder&) = delete;

  bool Holding() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace testkit
