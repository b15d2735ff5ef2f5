// A single-line edit box (the standard EDIT class). Its height follows its font.
#pragma once

#include "ui/Control.h"

namespace ui {

class TEdit : public TControl {
 public:
  explicit TEdit(TWinControl* parent);
  const char* ClassName() const override { return "TEdit"; }

  // The text typed or set (the same as Caption, read back from the window).
  std::string Text();
  void SetText(const std::string& text) { SetCaption(text); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  // Raised when the text changes.
  TNotifyEvent OnChange;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CommandNotify(WORD code) override;
  HBRUSH CtlColor(HDC dc, UINT msg) override;
  void FontChanged() override;

  void AdjustHeight();

  bool readOnly_ = false;
  bool autoSize_ = true;  // the height follows the font
};

}  // namespace ui
