#include "instutils/SetupMessage.h"

#include "instutils/SetupTitle.h"
#include "instutils/Widen.h"

namespace inst {

namespace {

HWND messageOwner = nullptr;

// English as used in the United States: English button captions on every system.
constexpr WORD kButtonLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
static_assert(kButtonLanguage == 1033);

UINT IconFlag(TDialogKind kind) {
  switch (kind) {
    case TDialogKind::Warning:
      return MB_ICONEXCLAMATION;
    case TDialogKind::Information:
      return MB_ICONASTERISK;
    case TDialogKind::Question:
      return MB_ICONQUESTION;
    case TDialogKind::Error:
      break;
  }
  return MB_ICONHAND;  // the error icon, also for kinds without a meaning of their own
}

UINT ButtonFlag(TButtonSet set) {
  switch (set) {
    case buttons::AbortRetryIgnore:
      return MB_ABORTRETRYIGNORE;
    case buttons::OKCancel:
      return MB_OKCANCEL;
    case buttons::RetryCancel:
      return MB_RETRYCANCEL;
    case buttons::YesNo:
      return MB_YESNO;
    case buttons::YesNoCancel:
      return MB_YESNOCANCEL;
    default:
      return MB_OK;
  }
}

}  // namespace

void SetMessageOwner(HWND owner) { messageOwner = owner; }

int SetupMessage(const std::string& text, TDialogKind kind, TButtonSet buttons) {
  const UINT flags = IconFlag(kind) | ButtonFlag(buttons) | MB_TASKMODAL;
  const int result = MessageBoxExW(messageOwner, Widen(text).c_str(), Widen(kSetupTitle).c_str(),
                                   flags, kButtonLanguage);
  if (result >= IDOK && result <= IDNO) return result;
  // No box (0) or an answer beyond the set: the way out the set offers, so that no caller
  // keeps asking again a box that never shows.
  switch (ButtonFlag(buttons)) {
    case MB_ABORTRETRYIGNORE:
      return IDABORT;
    case MB_YESNO:
      return IDNO;
    case MB_OK:
      return IDOK;
    default:
      return IDCANCEL;  // every other set has Cancel
  }
}

}  // namespace inst
