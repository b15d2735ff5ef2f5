// The one narrow-to-wide conversion of the program: the system's ANSI code page (the one
// the narrow calls speak). Empty text gives empty text.
#pragma once

#include <windows.h>

#include <string>

namespace inst {
std::wstring Widen(const std::string& text);

// Whether a code page takes conversion flags (MB_PRECOMPOSED, WC_NO_BEST_FIT_CHARS and the
// like, and the question whether a default character was used): UTF-8, UTF-7, GB18030, the
// ISO-2022 and ISCII code pages and the symbol code page refuse them with
// ERROR_INVALID_FLAGS, and Windows may run with UTF-8 as its ANSI code page.
bool TakesConversionFlags(UINT codePage);
}  // namespace inst
