// The one narrow-to-wide conversion of the program: code page 1252, precomposed,
// whatever the system's ANSI code page is. Empty text gives empty text.
#pragma once

#include <string>

namespace inst {
std::wstring Widen(const std::string& text);
}
