#include "ui/Edit.h"

#include "instutils/Widen.h"
#include "ui/LayoutReader.h"

namespace ui {

TEdit::TEdit(TWinControl* parent) : TControl(parent) {
  InitTabStop(true);
  InitColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

std::string TEdit::Text() {
  return inst::Narrow(HandleAllocated() ? WindowText(Handle()) : Caption());
}

void TEdit::SetText(const std::string& text) { SetCaption(inst::Widen(text)); }

bool TEdit::KeepsKey(const MSG& msg) {
  // A multi-line edit claims every key, yet in a dialog Esc still cancels and Enter still
  // presses the default button (no edit here takes line breaks).
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) return false;
  return TControl::KeepsKey(msg);
}

void TEdit::FocusByKeyboard() {
  SetFocus();
  SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

bool TEdit::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name != "ReadOnly") return TControl::SetProperty(name, value, reader);
  readOnly_ = value.AsBoolean();
  return true;
}

void TEdit::CreateParams(TCreateParams& params) {
  FontChanged();  // the height for the font in effect now
  TControl::CreateParams(params);
  params.WindowClass = L"EDIT";
  params.Style |= ES_AUTOHSCROLL;
  if (readOnly_) params.Style |= ES_READONLY;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

HBRUSH TEdit::CtlColor(HDC dc) {
  // Also for a read-only edit, which asks as a static text would: it keeps its Color.
  SetBkColor(dc, ColorToRGB(Color()));
  SetTextColor(dc, ColorToRGB(Font().Color));
  return BrushFor(Color());
}

void TEdit::FontChanged() {
  TControl::FontChanged();
  // The font's height plus the sunken border and its margins.
  if (autoSize_) PlaceAt(Left(), Top(), Width(), static_cast<int>(FontMetrics().tmHeight) + Scale(8));
}

}  // namespace ui
