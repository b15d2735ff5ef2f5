#include "instutils/SetupMessage.h"

#include "instutils/Language.h"
#include "instutils/SetupTitle.h"

namespace inst {

namespace {

HWND messageOwner = nullptr;
bool unattended = false;

// English as used in the United States: English button captions for the English texts.
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

// The answer that loses nothing and never asks again: the way out of the set. It answers
// every box of the unattended mode, and a box that could not be shown, so that no caller
// keeps asking a box that never shows.
int WayOut(TButtonSet set) {
  switch (set) {
    case buttons::AbortRetryIgnore:
      return IDABORT;
    case buttons::OKCancel:
    case buttons::RetryCancel:
    case buttons::YesNoCancel:
      return IDCANCEL;
    case buttons::YesNo:
      return IDNO;
    default:
      return IDOK;
  }
}

}  // namespace

void SetUnattended(bool on) { unattended = on; }

void SetMessageOwner(HWND owner) { messageOwner = owner; }

int SetupMessage(const std::wstring& text, TDialogKind kind, TButtonSet buttons) {
  if (unattended) return WayOut(buttons);
  const UINT flags = IconFlag(kind) | ButtonFlag(buttons) | MB_TASKMODAL;
  // The buttons are asked for in the texts' language; the system may show its own.
  const WORD buttonLanguage =
      Language() == TLanguage::Latvian ? MAKELANGID(LANG_LATVIAN, SUBLANG_LATVIAN_LATVIA) : kButtonLanguage;
  const int result = MessageBoxExW(messageOwner, text.c_str(), Localized(kSetupTitle).c_str(),
                                   flags, buttonLanguage);
  // No box (0) or an answer beyond the set.
  return result >= IDOK && result <= IDNO ? result : WayOut(buttons);
}

}  // namespace inst
