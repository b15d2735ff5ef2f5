#include "ui/Memo.h"

#include <stdexcept>

#include "instutils/Handles.h"
#include "instutils/Widen.h"
#include "ui/LayoutReader.h"

namespace ui {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  bool open = false;  // a line has begun that no line end closed yet
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      open = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
      open = true;
    }
  }
  if (open) lines.push_back(current);
  return lines;
}

TMemo::TMemo(TWinControl* parent) : TEdit(parent) {
  autoSize_ = false;
  SetBounds(0, 0, 185, 89);
}

std::vector<std::string> TMemo::Lines() { return SplitLines(Text()); }

void TMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  SetText(text);
}

void TMemo::LoadLinesFromFile(const std::string& path) {
  inst::UniqueFile file(CreateFileW(inst::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("Cannot open file \"" + path + "\".");
  std::string bytes;
  char buffer[16384];
  DWORD got = 0;
  for (;;) {
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
      throw std::runtime_error("Cannot read file \"" + path + "\".");
    }
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  SetLines(SplitLines(bytes));
}

bool TMemo::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name != "ScrollBars") return TEdit::SetProperty(name, value, reader);
  verticalScrollBar_ = value.AsEnum({"ssNone", "ssVertical"}) == 1;
  return true;
}

void TMemo::CreateParams(TCreateParams& params) {
  TEdit::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  params.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
  if (verticalScrollBar_) params.Style |= WS_VSCROLL;
}

}  // namespace ui
