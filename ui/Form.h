// A top-level window built from a layout resource, shown modally.
//
// A form subclass registers its event handlers and fields by name, then loads its layout:
//
//   TMyForm::TMyForm() {
//     RegisterHandler("OkBtnClick", &TMyForm::OkBtnClick);          // void (TControl*)
//     RegisterHandler("FormCloseQuery", &TMyForm::FormCloseQuery);  // void (TControl*, bool&)
//     RegisterField("OkBtn", OkBtn);                                // TButton* OkBtn;
//     LoadLayout("TMYFORM");                                        // RCDATA resource name
//   }
//
// LoadLayout reads the layout (see LayoutReader.h), binds every registered field to the
// component of that name and creates the windows; the form is not shown until Show or
// ShowModal. Any layout error throws ELayoutError before a window exists.
#pragma once

#include <map>
#include <string>

#include "ui/WinControl.h"

namespace ui {

class TButton;

// Modal results: 0 while the form runs; the button ids of the platform otherwise.
enum : int { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL };

enum class TBorderStyle { bsSingle, bsDialog, bsSizeable };
enum class TPosition { poDesigned, poScreenCenter };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };

class TForm : public TWinControl {
 public:
  TForm();
  ~TForm() override;
  const char* ClassName() const override { return "TForm"; }

  // Size of the client area; Width and Height are the outer size.
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetClientSize(int width, int height);
  RECT ClientRect() override;
  // Showing the form creates its window, brings it to the front and focuses a control.
  void SetVisible(bool visible) override;

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style) { borderStyle_ = style; }
  unsigned BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(unsigned icons) { borderIcons_ = icons; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }

  // Runs the form as a modal dialog: shows it, runs the message loop until ModalResult
  // is non-zero and the close query agrees, hides it and returns the modal result.
  // A refused close query resets ModalResult to 0 and the loop goes on.
  int ShowModal();
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  bool Modal() const { return modal_; }
  // Asks the form to close: in a modal run, ModalResult := mrCancel; otherwise the close
  // query runs and an approved close hides the form.
  void Close();
  // OnCloseQuery, if assigned; true when the form may close.
  virtual bool CloseQuery();

  // The control that gets the focus when the form is shown or activated; null: the
  // first control in tab order.
  TControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TControl* control);
  // The buttons that Enter and Esc press (set by the buttons' Default and Cancel).
  TButton* DefaultButton() const { return defaultButton_; }
  TButton* CancelButton() const { return cancelButton_; }

  // Handles the dialog keys of a message for this form: Tab and Shift+Tab, Enter (the
  // focused button, else the default button), Esc (the cancel button, only while it can
  // take the focus), mnemonics (Alt+letter, or the letter where the focused control
  // takes no characters). True when the message was used up.
  bool IsDialogKey(MSG& msg);

  TCloseQueryEvent OnCloseQuery;

  // Builds the form from a layout. Throws ELayoutError.
  void LoadLayout(const std::string& resourceName, HMODULE module = nullptr);
  void LoadLayoutText(const std::string& text, const std::string& sourceName = "layout");

  // Handler and field registries, used by the layout reader.
  TNotifyEvent FindNotifyHandler(const std::string& name) const;
  TCloseQueryEvent FindCloseQueryHandler(const std::string& name) const;
  bool HasHandler(const std::string& name) const;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  template <typename F>
  void RegisterHandler(const std::string& name, void (F::*handler)(TControl*)) {
    F* self = static_cast<F*>(this);
    notifyHandlers_[name] = [self, handler](TControl* sender) { (self->*handler)(sender); };
  }
  template <typename F>
  void RegisterHandler(const std::string& name, void (F::*handler)(TControl*, bool&)) {
    F* self = static_cast<F*>(this);
    closeQueryHandlers_[name] = [self, handler](TControl* sender, bool& canClose) {
      (self->*handler)(sender, canClose);
    };
  }
  // Binds a field to the component of that name when the layout has been read; a missing
  // component or one of another class is a layout error.
  template <typename T>
  void RegisterField(const std::string& name, T*& field) {
    fields_[name] = [&field](TControl* c) {
      T* typed = dynamic_cast<T*>(c);
      if (typed) field = typed;
      return typed != nullptr;
    };
  }

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // Window timer ticks (WM_TIMER) of the form's window.
  virtual void WMTimer(UINT_PTR id);

 private:
  friend class TButton;
  friend class TLayoutReader;
  void BindFields();
  void CenterOnScreen();
  void FocusFirstControl();
  void UpdateDefaultButtonLook();
  bool RunCloseQuery();
  int NextControlId() { return nextId_++; }
  friend class TControl;

  int clientWidth_ = 0, clientHeight_ = 0;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  unsigned borderIcons_ = biSystemMenu;
  TPosition position_ = TPosition::poDesigned;
  int modalResult_ = mrNone;
  bool modal_ = false;
  TControl* activeControl_ = nullptr;
  HWND savedFocus_ = nullptr;
  HWND lastFocus_ = nullptr;
  TButton* defaultButton_ = nullptr;
  TButton* cancelButton_ = nullptr;
  int nextId_ = 100;
  std::map<std::string, TNotifyEvent> notifyHandlers_;
  std::map<std::string, TCloseQueryEvent> closeQueryHandlers_;
  std::map<std::string, std::function<bool(TControl*)>> fields_;
};

// Sets the system's wait cursor at once (it stays until the next cursor change).
void ShowWaitCursor();

}  // namespace ui
