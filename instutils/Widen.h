// The one narrow-to-wide conversion of the program: the system's ANSI code page (the one
// the narrow calls speak), precomposed. Empty text gives empty text.
#pragma once

#include <string>

namespace inst {
std::wstring Widen(const std::string& text);
}
