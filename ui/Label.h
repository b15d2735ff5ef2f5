// A static text drawn by itself on its parent's background. "&" marks the mnemonic
// letter (not shown; "&&" shows one "&"), a carriage return breaks the line. With
// AutoSize (the default) it takes the size of its text, whatever size it is given (with
// WordWrap too it keeps its width and takes the height of its wrapped text); with
// WordWrap it wraps words within its width. Its mnemonic gives the focus to FocusControl.
#pragma once

#include "ui/Control.h"

namespace ui {

class TLabel : public TControl {
 public:
  explicit TLabel(TWinControl* parent);
  const char* ClassName() const override { return "TLabel"; }

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wordWrap);
  TControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TControl* control) { focusControl_ = control; }
  // The mnemonic letter in lower case, or 0.
  char Mnemonic() const;
  void SetBounds(int left, int top, int width, int height) override;

  TColor BackgroundColor() const override;
  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
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

// The mnemonic letter of a caption ("&File" gives 'f'), lower case; 0 when none.
char MnemonicOf(const std::string& caption);

}  // namespace ui
