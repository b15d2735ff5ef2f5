#include "ui/Form.h"

#include <vector>

#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/LayoutReader.h"

namespace ui {

namespace {

// Every control of the subtree, depth first in creation order (the tab order).
void CollectControls(const TWinControl& parent, std::vector<TControl*>& out) {
  for (TControl* c : parent.Controls()) {
    out.push_back(c);
    if (auto* w = dynamic_cast<TWinControl*>(c)) CollectControls(*w, out);
  }
}

bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }
bool CtrlOrAltDown() { return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0; }

void FocusAndSelect(TControl* control) {
  control->SetFocus();
  // As in dialogs: an edit reached by the keyboard has its text selected.
  if (dynamic_cast<TEdit*>(control) && control->HandleAllocated()) {
    SendMessageA(control->Handle(), EM_SETSEL, 0, -1);
  }
}

}  // namespace

TForm::TForm() : TWinControl(nullptr) {
  visible_ = false;
  parentFont_ = false;
}

TForm::~TForm() {
  Application.FormDestroyed(this);
  DestroyHandle();
}

void TForm::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  if (!HandleAllocated()) return;
  RECT outer, client;
  GetWindowRect(Handle(), &outer);
  GetClientRect(Handle(), &client);
  SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left - client.right + width,
               outer.bottom - outer.top - client.bottom + height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TForm::ClientRect() {
  RECT r{0, 0, clientWidth_, clientHeight_};
  if (HandleAllocated()) GetClientRect(Handle(), &r);
  return r;
}

void TForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS);
  params.Style |= WS_OVERLAPPED | WS_CAPTION;
  params.ExStyle |= WS_EX_APPWINDOW;  // the form stands for the program on the taskbar
  switch (borderStyle_) {
    case TBorderStyle::bsSingle:
      break;
    case TBorderStyle::bsDialog:
      params.Style |= DS_MODALFRAME;
      params.ExStyle |= WS_EX_DLGMODALFRAME;
      break;
    case TBorderStyle::bsSizeable:
      params.Style |= WS_THICKFRAME;
      break;
  }
  if (borderIcons_ & biSystemMenu) params.Style |= WS_SYSMENU;
  if (borderIcons_ & biMinimize) params.Style |= WS_MINIMIZEBOX;
  if (borderIcons_ & biMaximize) params.Style |= WS_MAXIMIZEBOX;
  RECT r{0, 0, clientWidth_, clientHeight_};
  AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
  params.Width = r.right - r.left;
  params.Height = r.bottom - r.top;
  params.X = Left();
  params.Y = Top();
  if (position_ == TPosition::poScreenCenter) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    params.X = work.left + (work.right - work.left - params.Width) / 2;
    params.Y = work.top + (work.bottom - work.top - params.Height) / 2;
  }
}

void TForm::CreateWnd() {
  TWinControl::CreateWnd();
  // The client size is what the layout fixes; correct what the frame estimate missed.
  RECT client;
  GetClientRect(Handle(), &client);
  if (client.right != clientWidth_ || client.bottom != clientHeight_) {
    SetClientSize(clientWidth_, clientHeight_);
  }
  RECT outer;
  GetWindowRect(Handle(), &outer);
  left_ = outer.left;
  top_ = outer.top;
  width_ = outer.right - outer.left;
  height_ = outer.bottom - outer.top;
  Application.FormCreated(this);
}

void TForm::SetVisible(bool visible) {
  visible_ = visible;
  if (visible) {
    HandleNeeded();
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    HWND focus = GetFocus();
    if (!focus || !IsChild(Handle(), focus)) FocusFirstControl();
    UpdateDefaultButtonLook();
  } else if (HandleAllocated()) {
    ShowWindow(Handle(), SW_HIDE);
  }
}

int TForm::ShowModal() {
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {  // WM_QUIT: end the run and leave the quit for the outer loop
      PostQuitMessage(static_cast<int>(msg.wParam));
      modalResult_ = mrCancel;
      break;
    }
    if (got < 0) {
      modalResult_ = mrCancel;
      break;
    }
    if (!IsDialogKey(msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (HandleAllocated() && GetFocus() != lastFocus_) UpdateDefaultButtonLook();
    if (modalResult_ != mrNone) {
      if (RunCloseQuery()) break;
      modalResult_ = mrNone;
    }
  }
  Hide();
  modal_ = false;
  return modalResult_;
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
  } else if (RunCloseQuery()) {
    Hide();
  }
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

bool TForm::RunCloseQuery() {
  try {
    return CloseQuery();
  } catch (...) {
    Application.HandleException(std::current_exception());
    return false;
  }
}

void TForm::SetActiveControl(TControl* control) {
  activeControl_ = control;
  if (control && HandleAllocated() && IsWindowVisible(Handle()) && control->CanFocus()) {
    control->SetFocus();
  }
}

void TForm::FocusFirstControl() {
  if (activeControl_ && activeControl_->CanFocus()) {
    activeControl_->SetFocus();
    return;
  }
  std::vector<TControl*> all;
  CollectControls(*this, all);
  for (TControl* c : all) {
    if (c->TabStop() && c->CanFocus()) {
      c->SetFocus();
      return;
    }
  }
  ::SetFocus(Handle());
}

void TForm::UpdateDefaultButtonLook() {
  lastFocus_ = GetFocus();
  std::vector<TControl*> all;
  CollectControls(*this, all);
  TButton* active = nullptr;
  for (TControl* c : all) {
    auto* b = dynamic_cast<TButton*>(c);
    if (b && b->HandleAllocated() && b->Handle() == lastFocus_) active = b;
  }
  if (!active) active = defaultButton_;
  for (TControl* c : all) {
    if (auto* b = dynamic_cast<TButton*>(c)) b->SetDefaultLook(b == active);
  }
}

bool TForm::IsDialogKey(MSG& msg) {
  if (!HandleAllocated()) return false;
  if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)) return false;
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSCHAR && msg.message != WM_CHAR) return false;

  std::vector<TControl*> all;
  CollectControls(*this, all);
  HWND focusWnd = GetFocus();
  TControl* focused = nullptr;
  for (TControl* c : all) {
    if (c->HandleAllocated() && (c->Handle() == focusWnd || IsChild(c->Handle(), focusWnd))) {
      focused = c;
    }
  }
  LRESULT wants = focusWnd ? SendMessageA(focusWnd, WM_GETDLGCODE, msg.wParam,
                                          reinterpret_cast<LPARAM>(&msg))
                           : 0;
  // A multi-line edit claims every key, yet in a dialog Esc still cancels and Enter still
  // presses the default button unless the edit takes line breaks (the licence memo).
  if (focusWnd && msg.message == WM_KEYDOWN &&
      (msg.wParam == VK_ESCAPE ||
       (msg.wParam == VK_RETURN && !(GetWindowLongA(focusWnd, GWL_STYLE) & ES_WANTRETURN)))) {
    char cls[16] = {};
    GetClassNameA(focusWnd, cls, sizeof cls);
    if (lstrcmpiA(cls, "Edit") == 0) wants &= ~DLGC_WANTMESSAGE;
  }

  if (msg.message == WM_KEYDOWN) {
    if (CtrlOrAltDown()) return false;
    switch (msg.wParam) {
      case VK_TAB: {
        if (wants & DLGC_WANTTAB) return false;
        std::vector<TControl*> order;
        for (TControl* c : all) {
          if (c->TabStop() && c->CanFocus() && c->HandleAllocated()) order.push_back(c);
        }
        if (order.empty()) return true;
        int at = -1;
        for (int i = 0; i < static_cast<int>(order.size()); ++i) {
          if (order[i] == focused) at = i;
        }
        const int n = static_cast<int>(order.size());
        int next = ShiftDown() ? (at <= 0 ? n - 1 : at - 1) : (at + 1) % n;
        FocusAndSelect(order[next]);
        return true;
      }
      case VK_RETURN: {
        if (wants & DLGC_WANTMESSAGE) return false;
        auto* button = dynamic_cast<TButton*>(focused);
        if (!button || !button->CanFocus()) button = defaultButton_;
        if (!button || !button->CanFocus()) return false;
        button->Click();
        return true;
      }
      case VK_ESCAPE:
        if (wants & DLGC_WANTMESSAGE) return false;
        // Esc presses the cancel button, and only while it could take the focus.
        if (cancelButton_ && cancelButton_->CanFocus()) cancelButton_->Click();
        return true;
      default:
        return false;
    }
  }

  // Mnemonics: Alt+letter always, the plain letter where the focus takes no characters.
  if (msg.message == WM_CHAR && (wants & DLGC_WANTCHARS)) return false;
  char key = static_cast<char>(msg.wParam);
  CharLowerBuffA(&key, 1);
  if (!key) return false;
  for (TControl* c : all) {
    if (auto* label = dynamic_cast<TLabel*>(c)) {
      TControl* target = label->FocusControl();
      if (label->CanFocus() && label->Mnemonic() == key && target && target->CanFocus()) {
        FocusAndSelect(target);
        return true;
      }
    } else if (auto* button = dynamic_cast<TButton*>(c)) {
      if (button->CanFocus() && MnemonicOf(button->Caption()) == key) {
        button->SetFocus();
        button->Click();
        return true;
      }
    } else if (auto* check = dynamic_cast<TCheckBox*>(c)) {
      if (check->CanFocus() && MnemonicOf(check->Caption()) == key) {
        check->SetFocus();
        SendMessageA(check->Handle(), BM_CLICK, 0, 0);
        return true;
      }
    }
  }
  return false;
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_TIMER:
      WMTimer(wParam);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) savedFocus_ = focus;
      } else if (savedFocus_ && IsWindow(savedFocus_) && IsChild(Handle(), savedFocus_) &&
                 IsWindowVisible(savedFocus_) && IsWindowEnabled(savedFocus_)) {
        ::SetFocus(savedFocus_);
      } else {
        FocusFirstControl();
      }
      return 0;
    default:
      break;
  }
  return TWinControl::WndProc(msg, wParam, lParam);
}

void TForm::WMTimer(UINT_PTR) {}

void TForm::LoadLayout(const std::string& resourceName, HMODULE module) {
  if (!module) module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, resourceName.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL data = info ? LoadResource(module, info) : nullptr;
  const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
  if (!bytes) throw ELayoutError("layout resource " + resourceName + " not found");
  LoadLayoutText(std::string(bytes, SizeofResource(module, info)), resourceName);
}

void TForm::LoadLayoutText(const std::string& text, const std::string& sourceName) {
  TLayoutReader reader(*this, sourceName);
  reader.Read(text);
  HandleNeeded();
}

void TForm::BindFields() {
  for (const auto& [name, bind] : fields_) {
    TControl* c = name == Name() ? this : FindChild(name);
    if (!c) throw ELayoutError("no component " + name + " for the form's field " + name);
    if (!bind(c)) {
      throw ELayoutError("component " + name + " (" + c->ClassName() +
                         ") does not fit the form's field " + name);
    }
  }
}

TNotifyEvent TForm::FindNotifyHandler(const std::string& name) const {
  auto it = notifyHandlers_.find(name);
  return it == notifyHandlers_.end() ? TNotifyEvent{} : it->second;
}

TCloseQueryEvent TForm::FindCloseQueryHandler(const std::string& name) const {
  auto it = closeQueryHandlers_.find(name);
  return it == closeQueryHandlers_.end() ? TCloseQueryEvent{} : it->second;
}

bool TForm::HasHandler(const std::string& name) const {
  return notifyHandlers_.count(name) || closeQueryHandlers_.count(name);
}

bool TForm::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) {
  if (name == "Caption") {
    SetCaption(value.AsString());
  } else if (name == "ClientWidth") {
    SetClientSize(value.AsInteger(), clientHeight_);
  } else if (name == "ClientHeight") {
    SetClientSize(clientWidth_, value.AsInteger());
  } else if (name == "BorderStyle") {
    SetBorderStyle(static_cast<TBorderStyle>(value.AsEnum({"bsSingle", "bsDialog", "bsSizeable"})));
  } else if (name == "BorderIcons") {
    unsigned icons = 0;
    for (const std::string& s : value.AsSet()) {
      if (s == "biSystemMenu") icons |= biSystemMenu;
      else if (s == "biMinimize") icons |= biMinimize;
      else if (s == "biMaximize") icons |= biMaximize;
      else throw ELayoutError("unknown border icon " + s);
    }
    SetBorderIcons(icons);
  } else if (name == "Position") {
    SetPosition(static_cast<TPosition>(value.AsEnum({"poDesigned", "poScreenCenter"})));
  } else if (name == "OnCloseQuery") {
    OnCloseQuery = reader.CloseQueryHandler(value);
  } else if (name == "ActiveControl") {
    reader.ResolveLater(value, [this](TControl* c) { activeControl_ = c; });
  } else if (name == "Width" || name == "Height") {
    return false;  // a form is sized by its client area
  } else {
    return TWinControl::SetProperty(name, value, reader);
  }
  return true;
}

void ShowWaitCursor() { SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514))); }  // IDC_WAIT

}  // namespace ui
