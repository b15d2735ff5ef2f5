// The shared "%s" formatting of message texts, captions and titles: each "%s" of the
// template is replaced, in order, by the next argument. A "%s" without an argument left
// becomes empty text; the template itself is never changed. One implementation serves
// both widths: wide for the texts the user reads, narrow for names made of paths.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace inst {

template <typename Char>
std::basic_string<Char> FormatTextOf(std::basic_string_view<Char> pattern,
                                     std::initializer_list<std::basic_string_view<Char>> args) {
  constexpr Char kMarker[] = {'%', 's', 0};
  std::basic_string<Char> out;
  auto next = args.begin();
  std::size_t pos = 0;
  for (;;) {
    const std::size_t hit = pattern.find(kMarker, pos);
    if (hit == pattern.npos) break;
    out.append(pattern, pos, hit - pos);
    if (next != args.end()) out += *next++;
    pos = hit + 2;
  }
  out.append(pattern, pos, pattern.npos);
  return out;
}

inline std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
  return FormatTextOf<char>(pattern, args);
}

inline std::wstring FormatText(std::wstring_view pattern,
                               std::initializer_list<std::wstring_view> args) {
  return FormatTextOf<wchar_t>(pattern, args);
}

}  // namespace inst
