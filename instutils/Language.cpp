#include "instutils/Language.h"

#include <windows.h>

#include <map>

#include "instutils/FormatText.h"
#include "instutils/PackedResource.h"
#include "instutils/Widen.h"
#include "resources/SetupResources.h"

namespace inst {

namespace {

TLanguage language = TLanguage::English;

// The Latvian texts file as an RCDATA resource of the program.
constexpr char kLatvianTextsResource[] = SETUP_RESOURCE_NAME(LATVIAN_TEXTS);

// A text as the file writes it: "\r" is a line break, "\\" a backslash.
std::wstring Unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'r' || text[i + 1] == '\\')) {
      out += text[++i] == 'r' ? '\r' : '\\';
    } else {
      out += text[i];
    }
  }
  return WidenUtf8(out);
}

// The program's Latvian texts by their English originals, read once when first needed.
// A program without the resource shows its English texts.
const std::map<std::wstring, std::wstring>& LatvianTable() {
  static const std::map<std::wstring, std::wstring> table = [] {
    std::map<std::wstring, std::wstring> byEnglish;
    const payload::TInflatedBytes file = PackedResource(kLatvianTextsResource);
    for (TLatvianText& text : ReadLatvianTexts({reinterpret_cast<const char*>(file.data()), file.size()}))
      byEnglish.emplace(std::move(text.english), std::move(text.latvian));
    return byEnglish;
  }();
  return table;
}

}  // namespace

TLanguage DisplayLanguage() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_LATVIAN ? TLanguage::Latvian
                                                                  : TLanguage::English;
}

void SetLanguage(TLanguage chosen) { language = chosen; }

TLanguage Language() { return language; }

std::wstring Localized(std::wstring_view english) {
  if (language == TLanguage::Latvian) {
    const auto& table = LatvianTable();
    if (const auto it = table.find(std::wstring(english)); it != table.end()) return it->second;
  }
  return std::wstring(english);
}

std::wstring Localized(std::string_view english) { return Localized(Widen(std::string(english))); }

std::wstring LocalizedText(std::string_view english,
                           std::initializer_list<std::wstring_view> values) {
  return FormatText(Localized(english), values);
}

std::wstring UserText(const std::exception& error) {
  if (const auto* shown = dynamic_cast<const EUserError*>(&error); shown && !shown->Text().empty())
    return shown->Text();
  return Widen(error.what());
}

std::vector<TLatvianText> ReadLatvianTexts(std::string_view utf8) {
  std::vector<TLatvianText> texts;
  char expected = '@';  // the kind of line that comes next: '@', 'e'(n) or 'l'(v)
  int lineNo = 0;
  while (!utf8.empty()) {
    const std::size_t end = utf8.find('\n');
    std::string_view line = utf8.substr(0, end);
    utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') {
      if (expected == '@') continue;
    } else if (expected == '@' && line.starts_with("@ ")) {
      texts.push_back({std::string(line.substr(2)), {}, {}});
      expected = 'e';
      continue;
    } else if (expected == 'e' && line.starts_with("en ")) {
      texts.back().english = Unescaped(line.substr(3));
      expected = 'l';
      continue;
    } else if (expected == 'l' && line.starts_with("lv ")) {
      texts.back().latvian = Unescaped(line.substr(3));
      expected = '@';
      continue;
    }
    throw std::runtime_error("Latvian texts, line " + std::to_string(lineNo) + ": expected " +
                             (expected == '@' ? "\"@ \"" : expected == 'e' ? "\"en \"" : "\"lv \""));
  }
  if (expected != '@') throw std::runtime_error("Latvian texts: the last text is incomplete");
  return texts;
}

}  // namespace inst
