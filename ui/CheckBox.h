// A check box (the standard BUTTON class, automatic check box style).
#pragma once

#include "ui/Control.h"

namespace ui {

class TCheckBox : public TControl {
 public:
  explicit TCheckBox(TWinControl* parent);
  const char* ClassName() const override { return "TCheckBox"; }

  bool Checked() const;
  void SetChecked(bool checked);

  // A click toggles the box, as the user's click does.
  void Click() override;
  TControl* MnemonicTarget(char key) override;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  HBRUSH CtlColor(HDC dc) override;

 private:
  mutable bool checked_ = false;
};

}  // namespace ui
