#include "ui/LayoutReader.h"

#include <cctype>

#include "instutils/Text.h"
#include "instutils/Widen.h"
#include "ui/Form.h"
#include "ui/LayoutClasses.h"
#include "ui/WinControl.h"

namespace ui {

// ---- values ----

TLayoutValue TLayoutValue::Integer(int value, int line) {
  TLayoutValue v;
  v.kind_ = TKind::Integer;
  v.integer_ = value;
  v.line_ = line;
  return v;
}

TLayoutValue TLayoutValue::String(std::wstring value, int line) {
  TLayoutValue v;
  v.kind_ = TKind::String;
  v.string_ = std::move(value);
  v.line_ = line;
  return v;
}

TLayoutValue TLayoutValue::Identifier(std::string value, int line) {
  TLayoutValue v;
  v.kind_ = TKind::Identifier;
  v.text_ = std::move(value);
  v.line_ = line;
  return v;
}

TLayoutValue TLayoutValue::Set(std::vector<std::string> value, int line) {
  TLayoutValue v;
  v.kind_ = TKind::Set;
  v.set_ = std::move(value);
  v.line_ = line;
  return v;
}

void TLayoutValue::Wrong(const char* expected) const {
  throw ELayoutError(std::string("expected ") + expected);
}

int TLayoutValue::AsInteger() const {
  if (kind_ != TKind::Integer) Wrong("a number");
  return integer_;
}

const std::wstring& TLayoutValue::AsString() const {
  if (kind_ != TKind::String) Wrong("a string");
  return string_;
}

const std::string& TLayoutValue::AsIdentifier() const {
  if (kind_ != TKind::Identifier) Wrong("a name");
  return text_;
}

bool TLayoutValue::AsBoolean() const { return AsEnum({"False", "True"}) == 1; }

TColor TLayoutValue::AsColor() const {
  if (kind_ == TKind::Integer) return integer_;
  TColor color = 0;
  if (kind_ != TKind::Identifier || !ColorFromName(text_, color)) Wrong("a colour");
  return color;
}

const std::vector<std::string>& TLayoutValue::AsSet() const {
  if (kind_ != TKind::Set) Wrong("a set");
  return set_;
}

int TLayoutValue::AsEnum(std::initializer_list<const char*> names) const {
  if (kind_ == TKind::Identifier) {
    int i = 0;
    for (const char* name : names) {
      if (text_ == name) return i;
      ++i;
    }
  }
  std::string expected = "one of";
  for (const char* name : names) expected += std::string(" ") + name;
  Wrong(expected.c_str());
}

// ---- reading ----

namespace {

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

std::string Trim(const std::string& s) {
  std::size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

// Reads the value text of one property; lines[at] holds its start, and a string that
// ends with "+" continues on the following lines (at is moved past them).
class TValueParser {
 public:
  TValueParser(const TLayoutReader& reader, const std::vector<std::string>& lines, std::size_t& at)
      : reader_(reader), lines_(lines), at_(at) {}

  TLayoutValue Parse(const std::string& start) {
    text_ = start;
    pos_ = 0;
    line_ = static_cast<int>(at_) + 1;
    SkipSpace();
    if (pos_ >= text_.size()) Fail("missing value");
    const char c = text_[pos_];
    TLayoutValue value;
    if (c == '\'' || c == '#') {
      value = TLayoutValue::String(ReadString(), line_);
    } else if (c == '[') {
      value = TLayoutValue::Set(ReadSet(), line_);
    } else if (c == '-' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
      value = TLayoutValue::Integer(ReadInteger(), line_);
    } else if (IsNameStart(c)) {
      value = TLayoutValue::Identifier(ReadName(), line_);
    } else {
      Fail(std::string("malformed value ") + text_.substr(pos_));
    }
    SkipSpace();
    if (pos_ < text_.size()) Fail("unexpected text after the value: " + text_.substr(pos_));
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const { reader_.Fail(line_, message); }

  void SkipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }

  std::string ReadName() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  int ReadInteger() {
    bool negative = false;
    if (text_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    const bool hex = pos_ < text_.size() && text_[pos_] == '$';
    if (hex) ++pos_;
    const std::size_t start = pos_;
    unsigned long long value = 0;
    while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
      const char d = text_[pos_];
      if (!hex && !std::isdigit(static_cast<unsigned char>(d))) break;
      const int digit = std::isdigit(static_cast<unsigned char>(d))
                            ? d - '0'
                            : std::tolower(static_cast<unsigned char>(d)) - 'a' + 10;
      value = value * (hex ? 16 : 10) + digit;
      if (value > 0xFFFFFFFFull) Fail("number out of range");
      ++pos_;
    }
    if (pos_ == start) Fail("malformed number");
    const auto bits = static_cast<unsigned>(value);
    return negative ? -static_cast<int>(bits) : static_cast<int>(bits);
  }

  // 'text' parts, '' for a quote inside, #nnn character codes, and "+" at the end of a
  // line to go on with the next line.
  std::wstring ReadString() {
    std::wstring out;
    for (;;) {
      if (pos_ < text_.size() && text_[pos_] == '\'') {
        ++pos_;
        std::string quoted;
        for (;;) {
          if (pos_ >= text_.size()) Fail("unterminated string");
          if (text_[pos_] == '\'') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
              quoted += '\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          quoted += text_[pos_++];
        }
        out += inst::Widen(quoted);
      } else if (pos_ < text_.size() && text_[pos_] == '#') {
        ++pos_;
        const std::size_t start = pos_;
        int code = 0;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
          code = code * 10 + (text_[pos_++] - '0');
          if (code > 0xFFFF) Fail("character code out of range");
        }
        if (pos_ == start) Fail("malformed character code");
        out += static_cast<wchar_t>(code);
      } else {
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == '+') {
          ++pos_;
          SkipSpace();
          if (pos_ < text_.size()) continue;
          if (at_ + 1 >= lines_.size()) Fail("string continues after the end of the text");
          text_ = Trim(lines_[++at_]);
          pos_ = 0;
          continue;
        }
        return out;
      }
    }
  }

  std::vector<std::string> ReadSet() {
    std::vector<std::string> items;
    ++pos_;  // [
    SkipSpace();
    if (pos_ < text_.size() && text_[pos_] == ']') {
      ++pos_;
      return items;
    }
    for (;;) {
      SkipSpace();
      if (pos_ >= text_.size() || !IsNameStart(text_[pos_])) Fail("malformed set");
      items.push_back(ReadName());
      SkipSpace();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < text_.size() && text_[pos_] == ']') {
        ++pos_;
        return items;
      }
      Fail("malformed set");
    }
  }

  const TLayoutReader& reader_;
  const std::vector<std::string>& lines_;
  std::size_t& at_;
  std::string text_;
  std::size_t pos_ = 0;
  int line_ = 0;
};

}  // namespace

TLayoutReader::TLayoutReader(TForm& form, std::string sourceName)
    : form_(form), sourceName_(std::move(sourceName)) {}

void TLayoutReader::Fail(int line, const std::string& message) const {
  std::string where = "layout " + sourceName_;
  if (line > 0) where += ", line " + std::to_string(line);
  throw ELayoutError(where + ": " + message, line);
}

void TLayoutReader::Read(const std::string& text) {
  const std::vector<std::string> lines = inst::SplitLines(text);
  std::vector<TControl*> open;  // the enclosing objects, the innermost last
  std::vector<TControl*> read;  // every component, in the layout's order
  bool done = false;
  for (std::size_t at = 0; at < lines.size(); ++at) {
    const int lineNo = static_cast<int>(at) + 1;
    const std::string line = Trim(lines[at]);
    if (line.empty() || line.starts_with("//")) continue;
    if (done) Fail(lineNo, "text after the end of the form: " + line);

    if (line.starts_with("object ")) {
      // object Name: TClass
      const std::string rest = Trim(line.substr(7));
      const std::size_t colon = rest.find(':');
      if (colon == std::string::npos) Fail(lineNo, "malformed object line: " + line);
      const std::string name = Trim(rest.substr(0, colon));
      const std::string className = Trim(rest.substr(colon + 1));
      if (name.empty() || className.empty()) Fail(lineNo, "malformed object line: " + line);
      if (open.empty()) {
        form_.SetName(name);  // the form itself; its class is the program's own
        form_.loading_ = true;
        read.push_back(&form_);
        open.push_back(&form_);
        continue;
      }
      auto* parent = dynamic_cast<TWinControl*>(open.back());
      if (!parent) {
        Fail(lineNo, open.back()->Name() + " (" + open.back()->ClassName() +
                         ") cannot hold the component " + name);
      }
      if (name == form_.Name() || form_.FindChild(name)) Fail(lineNo, "duplicate component name " + name);
      const TControlFactory factory = FindLayoutClass(className);
      if (!factory) Fail(lineNo, "unknown class " + className + " of component " + name);
      TControl* control = nullptr;
      try {
        control = factory(parent);
      } catch (const ELayoutError& e) {
        Fail(lineNo, std::string(e.what()) + " (component " + name + ")");
      }
      control->SetName(name);
      control->loading_ = true;
      read.push_back(control);
      open.push_back(control);
      continue;
    }

    if (line == "end") {
      if (open.empty()) Fail(lineNo, "end without object");
      open.pop_back();
      done = open.empty();
      continue;
    }

    // Name = value
    const std::size_t eq = line.find('=');
    if (open.empty()) Fail(lineNo, "expected an object line: " + line);
    if (eq == std::string::npos) Fail(lineNo, "malformed line: " + line);
    const std::string property = Trim(line.substr(0, eq));
    if (property.empty() || !IsNameStart(property[0])) Fail(lineNo, "malformed line: " + line);
    TValueParser parser(*this, lines, at);
    const TLayoutValue value = parser.Parse(line.substr(eq + 1));
    TControl* target = open.back();
    bool known = false;
    try {
      known = target->SetProperty(property, value, *this);
    } catch (const ELayoutError& e) {
      if (e.Placed()) throw;
      Fail(lineNo, "property " + property + " of " + target->Name() + ": " + e.what());
    }
    if (!known) {
      Fail(lineNo, "unknown property " + property + " of " + target->Name() + " (" +
                       target->ClassName() + ")");
    }
  }
  if (!open.empty()) Fail(0, "missing end of " + open.back()->Name());
  if (!done) Fail(0, "no object in the text");

  for (const TFixup& fixup : fixups_) {
    TControl* c = fixup.name == form_.Name() ? &form_ : form_.FindChild(fixup.name);
    if (!c) Fail(fixup.line, "unknown component " + fixup.name);
    try {
      fixup.action(c);
    } catch (const ELayoutError& e) {
      if (e.Placed()) throw;
      Fail(fixup.line, e.what());
    }
  }
  try {
    form_.BindFields();
  } catch (const ELayoutError& e) {
    Fail(0, e.what());
  }
  for (TControl* c : read) c->Loaded();
}

void TLayoutReader::ResolveLater(const TLayoutValue& value, std::function<void(TControl*)> action) {
  fixups_.push_back({value.AsIdentifier(), value.Line(), std::move(action)});
}

TNotifyEvent TLayoutReader::NotifyHandler(const TLayoutValue& value) const {
  const std::string& name = value.AsIdentifier();
  TNotifyEvent handler = form_.FindNotifyHandler(name);
  if (!handler) {
    Fail(value.Line(), form_.HasHandler(name) ? "handler " + name + " does not fit this event"
                                              : "unknown handler " + name);
  }
  return handler;
}

TCloseQueryEvent TLayoutReader::CloseQueryHandler(const TLayoutValue& value) const {
  const std::string& name = value.AsIdentifier();
  TCloseQueryEvent handler = form_.FindCloseQueryHandler(name);
  if (!handler) {
    Fail(value.Line(), form_.HasHandler(name) ? "handler " + name + " does not fit this event"
                                              : "unknown handler " + name);
  }
  return handler;
}

}  // namespace ui
