// The one way the program asks the user something or tells of an error: a standard
// message box with the setup title as caption, an icon by dialog kind and a fixed button
// set. Returns the platform's number of the button pressed (IDOK .. IDNO).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace inst {

// The icon of the box. Values outside these four show the error icon.
enum class TDialogKind : std::uint8_t { Warning = 0, Error = 1, Information = 2, Question = 3 };

// A button set: one bit per button. Only the whole sets below are recognised; any other
// value shows OK alone.
using TButtonSet = std::uint16_t;
namespace buttons {
inline constexpr TButtonSet Yes = 1, No = 2, OK = 4, Cancel = 8, Abort = 16, Retry = 32,
                            Ignore = 64;
inline constexpr TButtonSet AbortRetryIgnore = Abort | Retry | Ignore;  // 112
inline constexpr TButtonSet OKCancel = OK | Cancel;                      // 12
inline constexpr TButtonSet RetryCancel = Cancel | Retry;                // 40
inline constexpr TButtonSet YesNo = Yes | No;                            // 3
inline constexpr TButtonSet YesNoCancel = Yes | No | Cancel;             // 11
}  // namespace buttons

// Shows the box (task-modal; the setup title and the buttons asked for in the chosen
// language, English captions for English texts) and waits for the answer: IDOK,
// IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES or IDNO. A box that cannot be shown counts
// as the set's way out: Abort, else Cancel, else No, else OK. Text breaks lines with a bare
// carriage return.
int SetupMessage(const std::wstring& text, TDialogKind kind, TButtonSet buttons);

// In unattended mode no box is shown: each call returns the answer that loses nothing
// (Abort, Cancel or No; OK for a notice), as an unattended installation answers.
void SetUnattended(bool on);

// The owner of every box: the application's main window, set by the application at
// start-up; no owner until then.
void SetMessageOwner(HWND owner);

}  // namespace inst
