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
//
// The form has a fixed single-line border and a close box; with Position = poScreenCenter
// it opens in the centre of the screen, otherwise at its Left and Top. The window is laid
// out for the DPI of its monitor when it is created, and again when it moves to a monitor
// of another DPI (WM_DPICHANGED).
#pragma once

#include <map>
#include <string>

#include "ui/WinControl.h"

namespace ui {

class TButton;

// Modal results: 0 while the form runs; the button ids of the platform otherwise.
enum : int { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL };

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
  // Lays the form out for a DPI: every control's bounds and fonts scaled from the
  // layout's 96-DPI ones, the aligned controls laid out again. The layout at a DPI is the
  // same whatever DPIs the form had before.
  void ScaleToDpi(int dpi);
  void ChangeScale() override;
  // Showing the form creates its window, brings it to the front and gives the focus a
  // place (FocusIfLost).
  void SetVisible(bool visible) override;

  // Runs the form as a modal dialog: shows it, runs the message loop until ModalResult
  // is non-zero and the close query agrees, hides it and returns the modal result.
  // The shown form is painted whole first. Controls without a window yet (pages not
  // shown) get theirs then: when the loop first finds nothing to do, or before the first
  // other message.
  // A refused close query resets ModalResult to 0 and the loop goes on. No exception
  // leaves the loop: whatever starts an event handler (mouse, key, close box, timer),
  // an exception that escapes it gets the default error handling and the loop goes on.
  int ShowModal();
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  // Asks the form to close: ModalResult := mrCancel, which runs the close query.
  void Close() { modalResult_ = mrCancel; }
  // OnCloseQuery, if assigned; true when the form may close.
  virtual bool CloseQuery();

  // The buttons that Enter and Esc press (set by the buttons' Default and Cancel).
  TButton* DefaultButton() const { return defaultButton_; }
  TButton* CancelButton() const { return cancelButton_; }

  // Acts on the dialog keys of a message for this form, asking the focused control first
  // whether it keeps the key: Tab and Shift+Tab move the focus in tab order; Enter
  // presses the focused button, else the default button; Esc presses the cancel button
  // while it can take the focus; a mnemonic (Alt+letter, or the letter where the focus
  // takes no characters) focuses the control it reaches and clicks it. True when the
  // message was used up.
  bool HandleDialogKey(const MSG& msg);
  // When the active form's focus is nowhere or on a control that cannot take it (hidden,
  // disabled, or not a tab stop, as after a page change): the default button takes it if
  // it can, else the first control in tab order.
  void FocusIfLost();

  TCloseQueryEvent OnCloseQuery;

  // Builds the form from a layout. Throws ELayoutError.
  void LoadLayout(const std::string& resourceName);
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
  friend class TControl;
  friend class TLayoutReader;
  void BindFields();
  // The control whose window has the focus or holds it; null for none.
  TControl* FocusedControl() const;
  void UpdateDefaultButtonLook();
  // Sizes the client area without changing its 96-DPI size.
  void ApplyClientSize(int width, int height);
  int NextControlId() { return nextId_++; }

  int clientWidth_ = 0, clientHeight_ = 0;
  SIZE designClient_{0, 0};  // the client size at 96 DPI
  int dpi_ = kDesignDpi;
  bool centered_ = false;  // Position = poScreenCenter
  int modalResult_ = mrNone;
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
