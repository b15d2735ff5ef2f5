// A static text drawn by itself on its parent's background. "&" marks the mnemonic
// letter (not shown; "&&" shows one "&"), a carriage return breaks the line. With
// AutoSize (the default) it takes the size of its text, whatever size it is given; with
// AutoSize = False and WordWrap it wraps words within its rectangle. Its mnemonic gives
// the focus to FocusControl.
#pragma once

#include "ui/Control.h"

namespace ui {

class TLabel : public TControl {
 public:
  explicit TLabel(TWinControl* parent);
  const char* ClassName() const override { return "TLabel"; }

  TControl* FocusControl() const { return focusControl_; }
  TControl* MnemonicTarget(char key) override;
  void SetBounds(int left, int top, int width, int height) override;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void PaintControl(HDC dc) override;
  void FontChanged() override;
  void CaptionChanged() override;
  void Loaded() override;

 private:
  void AdjustBounds();
  UINT DrawFlags() const;

  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool adjusting_ = false;
  TControl* focusControl_ = nullptr;
};

}  // namespace ui
