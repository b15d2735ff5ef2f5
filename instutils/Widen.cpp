#include "instutils/Widen.h"

namespace inst {

bool TakesConversionFlags(UINT codePage) {
  const bool refuses = codePage == CP_SYMBOL || (codePage >= 50220 && codePage <= 50229) ||
                       (codePage >= 57002 && codePage <= 57011) || codePage == 54936 ||
                       codePage == CP_UTF7 || codePage == CP_UTF8;
  return !refuses;
}

namespace {

// No flags: precomposed characters are the default, and every code page takes no flags.
std::wstring WidenFrom(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  const int written = MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), needed);
  wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return wide;
}

}  // namespace

// The ANSI code page, so a path that a narrow call produced (GetTempPathA, a directory
// enumeration, a registry value) names the same file in the wide calls: on a Baltic system
// (1257) 0xE2 is a-macron, on a Western one (1252) a-circumflex.
std::wstring Widen(const std::string& text) { return WidenFrom(CP_ACP, text); }

std::wstring WidenUtf8(std::string_view text) { return WidenFrom(CP_UTF8, text); }

std::string NarrowUtf8(const std::wstring& text) {
  const int length = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), needed, nullptr, nullptr);
  return utf8;
}

std::string Narrow(const std::wstring& text, bool* lossy) {
  if (lossy) *lossy = false;
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  // A code page that takes no flags (UTF-8 among them) has no best fits to refuse and
  // refuses the question whether a default character was used.
  const bool flagged = TakesConversionFlags(GetACP());
  const DWORD flags = flagged ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL defaulted = FALSE;
  const int needed = WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr,
                                         flagged ? &defaulted : nullptr);
  if (needed <= 0) return {};
  if (lossy) *lossy = defaulted != FALSE;
  std::string narrow(static_cast<std::size_t>(needed), '\0');
  const int written = WideCharToMultiByte(CP_ACP, flags, text.data(), length, narrow.data(),
                                          needed, nullptr, nullptr);
  narrow.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return narrow;
}

}  // namespace inst
