// A check box (the standard BUTTON class, automatic check box style). It widens to its
// caption where its scaled layout width would cut it: at a DPI other than the layout's
// (text does not grow exactly in proportion to the DPI) and for a caption set after the
// layout's (a translation). The layout's own caption at the layout's DPI keeps the
// layout's width.
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
  TControl* MnemonicTarget(wchar_t key) override;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  HBRUSH CtlColor(HDC dc) override;
  void FontChanged() override;
  void CaptionChanged() override;

 private:
  void FitCaption();

  mutable bool checked_ = false;
  bool layoutCaption_ = true;  // the caption is still the one the layout gave
};

}  // namespace ui
