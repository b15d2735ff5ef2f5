// A push button (the standard BUTTON class). Default makes it the button that Enter
// presses; Cancel the one that Esc presses.
#pragma once

#include "ui/Control.h"

namespace ui {

class TButton : public TControl {
 public:
  explicit TButton(TWinControl* parent);
  ~TButton() override;
  const char* ClassName() const override { return "TButton"; }

  void SetDefault(bool value);
  void SetCancel(bool value);

  // What a click does: OnClick.
  void Click() override;
  TNotifyEvent OnClick;

  TControl* MnemonicTarget(wchar_t key) override;
  bool TakesEnter() const override { return true; }
  // Shows the button as the one Enter presses (BS_DEFPUSHBUTTON), or not.
  void SetDefaultLook(bool look) override;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CommandNotify(WORD code) override;
  HBRUSH CtlColor(HDC dc) override;

 private:
  bool default_ = false;
};

}  // namespace ui
