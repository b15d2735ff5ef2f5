#include "ui/Edit.h"

#include "ui/LayoutReader.h"

namespace ui {

TEdit::TEdit(TWinControl* parent) : TControl(parent) {
  InitTabStop(true);
  InitColor(clWindow, false);
  SetBounds(0, 0, 121, 21);
}

std::string TEdit::Text() {
  if (!HandleAllocated()) return Caption();
  const int length = GetWindowTextLengthA(Handle());
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(Handle(), text.data(), length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

void TEdit::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, readOnly, 0);
}

bool TEdit::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name == "Text") {
    SetText(value.AsString());
  } else if (name == "ReadOnly") {
    SetReadOnly(value.AsBoolean());
  } else if (name == "OnChange") {
    OnChange = reader.NotifyHandler(value);
  } else {
    return TControl::SetProperty(name, value, reader);
  }
  return true;
}

void TEdit::CreateParams(TCreateParams& params) {
  AdjustHeight();
  TControl::CreateParams(params);
  params.WindowClass = "EDIT";
  params.Style |= ES_AUTOHSCROLL;
  if (readOnly_) params.Style |= ES_READONLY;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::CommandNotify(WORD code) {
  if (code == EN_CHANGE && OnChange) OnChange(this);
}

HBRUSH TEdit::CtlColor(HDC dc, UINT) {
  // Also for a read-only edit, which asks as a static text would: it keeps its Color.
  SetBkColor(dc, ColorToRGB(Color()));
  SetTextColor(dc, ColorToRGB(Font().Color));
  return BrushFor(Color());
}

void TEdit::FontChanged() {
  TControl::FontChanged();
  AdjustHeight();
}

void TEdit::AdjustHeight() {
  // The font's height plus the sunken border and its margins.
  if (autoSize_) SetHeight(static_cast<int>(FontMetrics().tmHeight) + 8);
}

}  // namespace ui
