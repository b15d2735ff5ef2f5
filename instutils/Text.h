// Text as the program's files hold it: 8-bit characters in lines.
#pragma once

#include <string>
#include <vector>

namespace inst {

// The lines of a text: a line ends at CR LF, at a lone CR or at a lone LF. A last line
// without a line end is a line; the text after the last line end, when empty, is none.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace inst
