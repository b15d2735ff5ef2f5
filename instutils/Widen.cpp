#include "instutils/Widen.h"

#include <windows.h>

namespace inst {

// Code page 1252 whatever the system's ANSI code page is, so a path or message gives the
// same wide text on every system.
constexpr UINT kWidenCodePage = 1252;

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed =
      MultiByteToWideChar(kWidenCodePage, MB_PRECOMPOSED, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  const int written =
      MultiByteToWideChar(kWidenCodePage, MB_PRECOMPOSED, text.data(), length, wide.data(), needed);
  wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return wide;
}

}  // namespace inst
