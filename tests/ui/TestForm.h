// The form of the widget tests, built from TestForm.layout, with hooks a test fills in.
#pragma once

#include <functional>
#include <string>

#include "ui/Bevel.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Memo.h"
#include "ui/PageControl.h"
#include "ui/Panel.h"
#include "ui/TabSheet.h"

class TTestForm : public ui::TForm {
 public:
  // Builds the form from the layout resource TESTFORM.
  TTestForm();
  const char* ClassName() const override { return "TTestForm"; }

  ui::TPageControl* Pages = nullptr;
  ui::TTabSheet* FirstSheet = nullptr;
  ui::TTabSheet* SecondSheet = nullptr;
  ui::TLabel* WrapLbl = nullptr;
  ui::TLabel* NameLbl = nullptr;
  ui::TEdit* NameEdt = nullptr;
  ui::TMemo* LinesMemo = nullptr;
  ui::TCheckBox* AcceptChkBx = nullptr;
  ui::TPanel* TopPanel = nullptr;
  ui::TLabel* TitleLbl = nullptr;
  ui::TImage* LogoImage = nullptr;
  ui::TPanel* LeftPanel = nullptr;
  ui::TBevel* LeftBevel = nullptr;
  ui::TBevel* BottomBevel = nullptr;
  ui::TPanel* BottomPanel = nullptr;
  ui::TButton* BackBtn = nullptr;
  ui::TButton* NextBtn = nullptr;
  ui::TButton* CancelBtn = nullptr;

  // Hooks: what BNClick, the close query and the timer do.
  std::function<void(ui::TControl*)> onBNClick;
  std::function<bool()> allowClose;
  std::function<void(int tick)> onTick;
  int cancelClicks = 0;
  int closeQueries = 0;

  // Runs the form modally with a timer that calls onTick with 1, 2, 3 ... (each tick
  // comes when the messages posted by the one before have been handled).
  int RunModal();

  void BNClick(ui::TControl* sender);
  void CancelBtnClick(ui::TControl* sender);
  void FormCloseQuery(ui::TControl* sender, bool& canClose);

 protected:
  void WMTimer(UINT_PTR id) override;

 private:
  int tick_ = 0;
};

// Registers the standard classes once (every test calls it).
void RegisterTestClasses();
// Posts a key press to the window that has the focus, as the keyboard would deliver it.
void PostKey(UINT message, WPARAM key);
