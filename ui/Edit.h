// A single-line edit box (the standard EDIT class). Its height follows its font.
#pragma once

#include "ui/Control.h"

namespace ui {

class TEdit : public TControl {
 public:
  explicit TEdit(TWinControl* parent);
  const char* ClassName() const override { return "TEdit"; }

  // The text typed or set, read back from the window. An edit holds a path: narrow text
  // in the ANSI code page, as the file layer takes it (see inst::Narrow for a character
  // without a place there).
  std::string Text();
  void SetText(const std::string& text);

  // Enter and Esc stay dialog keys in an edit box; reached from the keyboard, it selects
  // its text.
  bool KeepsKey(const MSG& msg) override;
  void FocusByKeyboard() override;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  HBRUSH CtlColor(HDC dc) override;
  void FontChanged() override;

  bool readOnly_ = false;
  bool autoSize_ = true;  // the height follows the font
};

}  // namespace ui
