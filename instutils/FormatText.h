// The shared "%s" formatting of message texts, captions and titles: each "%s" of the
// template is replaced, in order, by the next argument. A "%s" without an argument left
// becomes empty text; the template itself is never changed.
#pragma once

#include <initializer_list>
#include <string>

namespace inst {

inline std::string FormatText(const std::string& pattern, std::initializer_list<std::string> args) {
  std::string out;
  auto next = args.begin();
  std::size_t pos = 0;
  for (;;) {
    const std::size_t hit = pattern.find("%s", pos);
    if (hit == std::string::npos) break;
    out.append(pattern, pos, hit - pos);
    if (next != args.end()) out += *next++;
    pos = hit + 2;
  }
  out.append(pattern, pos, std::string::npos);
  return out;
}

}  // namespace inst
