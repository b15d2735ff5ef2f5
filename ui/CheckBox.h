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
  // Raised when the user changes the state.
  TNotifyEvent OnClick;

  TColor BackgroundColor() const override;
  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void CommandNotify(WORD code) override;
  HBRUSH CtlColor(HDC dc, UINT msg) override;

 private:
  mutable bool checked_ = false;
};

}  // namespace ui
