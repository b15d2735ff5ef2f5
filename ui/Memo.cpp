#include "ui/Memo.h"

#include "instutils/Files.h"
#include "instutils/Text.h"
#include "ui/LayoutReader.h"

namespace ui {

TMemo::TMemo(TWinControl* parent) : TEdit(parent) {
  autoSize_ = false;
  SetBounds(0, 0, 185, 89);
}

std::vector<std::string> TMemo::Lines() { return inst::SplitLines(Text()); }

void TMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  SetText(text);
}

bool TMemo::LoadLinesFromFile(const std::string& path) {
  std::string bytes;
  if (inst::ReadWholeFile(path, bytes) != ERROR_SUCCESS) return false;
  SetLines(inst::SplitLines(bytes));
  return true;
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
