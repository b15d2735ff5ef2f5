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

  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value);
  // Set as the form's ModalResult when the button is clicked (0: none).
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

  // What a click does: the form's ModalResult, then OnClick.
  virtual void Click();
  TNotifyEvent OnClick;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CommandNotify(WORD code) override;
  HBRUSH CtlColor(HDC dc, UINT msg) override;

 private:
  friend class TForm;
  // Shows the button as the one Enter presses (BS_DEFPUSHBUTTON).
  void SetDefaultLook(bool look);

  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
};

}  // namespace ui
