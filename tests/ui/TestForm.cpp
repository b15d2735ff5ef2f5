#include "tests/ui/TestForm.h"

#include "ui/Application.h"
#include "ui/LayoutClasses.h"

void RegisterTestClasses() {
  static bool done = false;
  if (done) return;
  ui::RegisterStandardLayoutClasses();
  done = true;
}

void PostKey(UINT message, WPARAM key) {
  HWND focus = GetFocus();
  PostMessageW(focus ? focus : GetActiveWindow(), message, key, 0);
}

TTestForm::TTestForm() {
  RegisterTestClasses();
  RegisterHandler("BNClick", &TTestForm::BNClick);
  RegisterHandler("CancelBtnClick", &TTestForm::CancelBtnClick);
  RegisterHandler("FormCloseQuery", &TTestForm::FormCloseQuery);
  RegisterField("Pages", Pages);
  RegisterField("FirstSheet", FirstSheet);
  RegisterField("SecondSheet", SecondSheet);
  RegisterField("WrapLbl", WrapLbl);
  RegisterField("NameLbl", NameLbl);
  RegisterField("NameEdt", NameEdt);
  RegisterField("LinesMemo", LinesMemo);
  RegisterField("AcceptChkBx", AcceptChkBx);
  RegisterField("TopPanel", TopPanel);
  RegisterField("TitleLbl", TitleLbl);
  RegisterField("LogoImage", LogoImage);
  RegisterField("LeftPanel", LeftPanel);
  RegisterField("LeftBevel", LeftBevel);
  RegisterField("BottomBevel", BottomBevel);
  RegisterField("BottomPanel", BottomPanel);
  RegisterField("BackBtn", BackBtn);
  RegisterField("NextBtn", NextBtn);
  RegisterField("CancelBtn", CancelBtn);
  LoadLayout("TESTFORM");
}

int TTestForm::RunModal() {
  tick_ = 0;
  SetTimer(Handle(), 1, 20, nullptr);
  const int result = ShowModal();
  KillTimer(Handle(), 1);
  return result;
}

void TTestForm::BNClick(ui::TControl* sender) {
  if (onBNClick) onBNClick(sender);
}

void TTestForm::CancelBtnClick(ui::TControl*) {
  ++cancelClicks;
  Close();
}

void TTestForm::FormCloseQuery(ui::TControl*, bool& canClose) {
  ++closeQueries;
  canClose = allowClose ? allowClose() : true;
}

void TTestForm::WMTimer(UINT_PTR id) {
  // No step while a message box holds the form (its loop delivers our timer too).
  if (!IsWindowEnabled(Handle())) return;
  if (id == 1 && onTick) onTick(++tick_);
}
