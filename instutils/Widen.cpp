#include "instutils/Widen.h"

namespace inst {

bool TakesConversionFlags(UINT codePage) {
  const bool refuses = codePage == CP_SYMBOL || (codePage >= 50220 && codePage <= 50229) ||
                       (codePage >= 57002 && codePage <= 57011) || codePage == 54936 ||
                       codePage == CP_UTF7 || codePage == CP_UTF8;
  return !refuses;
}

// The ANSI code page, so a path that a narrow call produced (GetTempPathA, a directory
// enumeration, a registry value) names the same file in the wide calls: on a Baltic system
// (1257) 0xE2 is a-macron, on a Western one (1252) a-circumflex. No flags: precomposed
// characters are the default, and every code page takes no flags.
std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  const int written = MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
  wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return wide;
}

}  // namespace inst
