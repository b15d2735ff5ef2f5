// The language the program speaks to the user: English, or Latvian on a Latvian Windows
// display. The English texts stand in the layout and the code; their Latvian versions come
// from one UTF-8 text file carried as a program resource, each beside its English original.
// The setup log, the licence and file names stay as they are in either language.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace inst {

enum class TLanguage : std::uint8_t { English, Latvian };

// The language of the user's Windows display: Latvian for a Latvian display (0x0426),
// English for any other.
TLanguage DisplayLanguage();
// The language of every text shown from now on; English until it is set at start-up.
void SetLanguage(TLanguage language);
TLanguage Language();

// A text the user reads, in the chosen language: the English text itself, or its Latvian
// version (the English one when it has none). The English text is given as the user sees
// it, with the programs' names filled in; "%s" stands for a value filled in afterwards (a
// file's path, a system message), and the Latvian version has the same.
std::wstring Localized(std::wstring_view english);
std::wstring Localized(std::string_view english);
// Localized, then each "%s" replaced by the next value.
std::wstring LocalizedText(std::string_view english, std::initializer_list<std::wstring_view> values);

// The text of an error in the chosen language: an EUserError's own when it has one, else
// what() as the system's code page has it.
std::wstring UserText(const std::exception& error);

// The Latvian texts as the text file holds them, in its order.
struct TLatvianText {
  std::string reference;  // where the English original stands
  std::wstring english;
  std::wstring latvian;
};
// Reads the UTF-8 text: blocks of "@ reference", "en English" and "lv Latvian" lines, "\r"
// in a text being a line break; blank lines and lines starting with "#" are skipped. A
// line out of place throws std::runtime_error naming its number.
std::vector<TLatvianText> ReadLatvianTexts(std::string_view utf8);

// An error the user is shown: what() is the English text (for the setup log), Text() the
// text in the chosen language.
class EUserError : public std::runtime_error {
 public:
  EUserError(const std::string& english, std::wstring text)
      : std::runtime_error(english), text_(std::move(text)) {}
  const std::wstring& Text() const { return text_; }

 private:
  std::wstring text_;
};

}  // namespace inst
