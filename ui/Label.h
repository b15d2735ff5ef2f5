// A static text on its parent's background, in a window of the standard STATIC class so
// that screen readers read it and name the field below it. "&" marks the mnemonic letter
// (underlined; "&&" shows one "&"), a carriage return breaks the line. With AutoSize (the
// default) it takes the size of its text, whatever size it is given; with AutoSize =
// False and WordWrap it wraps words within its rectangle. Its mnemonic gives the focus to
// FocusControl, and its window lies directly above FocusControl's among their siblings,
// where the accessibility layer looks for a field's name.
#pragma once

#include "ui/Control.h"

namespace ui {

class TLabel : public TControl {
 public:
  explicit TLabel(TWinControl* parent);
  const char* ClassName() const override { return "TLabel"; }

  TControl* FocusControl() const { return focusControl_; }
  TControl* MnemonicTarget(wchar_t key) override;
  TControl* LabelledControl() const override { return focusControl_; }
  void SetBounds(int left, int top, int width, int height) override;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  HBRUSH CtlColor(HDC dc) override;
  void FontChanged() override;
  void CaptionChanged() override;
  void Loaded() override;

 private:
  void AdjustBounds();
  UINT DrawFlags() const;

  bool autoSize_ = true;
  bool wordWrap_ = false;
  TControl* focusControl_ = nullptr;
};

}  // namespace ui
