// The program's conversions between narrow and wide text: the system's ANSI code page
// (the one the narrow calls speak) for paths, UTF-8 for the program's own text files.
// Empty text gives empty text.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace inst {
std::wstring Widen(const std::string& text);
// Wide text in the ANSI code page. A character without a place there becomes the code
// page's default character ('?', which no file name holds), never a look-alike letter (no
// best fit), so a narrowed path never names another file; `lossy`, when given, tells
// whether that happened.
std::string Narrow(const std::wstring& text, bool* lossy = nullptr);
// UTF-8 text (the Latvian texts file, the setup log) and back.
std::wstring WidenUtf8(std::string_view text);
std::string NarrowUtf8(const std::wstring& text);

// Whether a code page takes conversion flags (MB_PRECOMPOSED, WC_NO_BEST_FIT_CHARS and the
// like, and the question whether a default character was used): UTF-8, UTF-7, GB18030, the
// ISO-2022 and ISCII code pages and the symbol code page refuse them with
// ERROR_INVALID_FLAGS, and Windows may run with UTF-8 as its ANSI code page.
bool TakesConversionFlags(UINT codePage);
}  // namespace inst
