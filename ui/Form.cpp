#include "ui/Form.h"

#include <vector>

#include "instutils/PackedResource.h"
#include "instutils/SystemLibrary.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/LayoutReader.h"

namespace ui {

namespace {

bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }
bool CtrlOrAltDown() { return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0; }

bool TakesFocus(const TControl* c) { return c->TabStop() && c->CanFocus() && c->HandleAllocated(); }

// The process draws itself at every monitor's DPI. The manifest says so to the Windows
// that read it; this covers a loader that did not. The per-monitor-v2 context is refused by
// some systems, so per-monitor and system-aware follow.
void DeclareDpiAwareness() {
  static bool done = false;
  if (done) return;
  done = true;
  using SetContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  if (auto set = inst::SystemProc<SetContextFn>("user32.dll", "SetProcessDpiAwarenessContext")) {
    if (set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) ||
        set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE))
      return;
    if (GetLastError() == ERROR_ACCESS_DENIED) return;  // set already, by the manifest
  }
  SetProcessDPIAware();
}

// The DPI of a window's monitor (GetDpiForWindow, Windows 10), else of the screen.
int WindowDpi(HWND window) {
  using GetDpiFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = inst::SystemProc<GetDpiFn>("user32.dll", "GetDpiForWindow");
  if (getDpi && window) {
    if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
  }
  const int dpi = GetDeviceCaps(TWindowDC().get(), LOGPIXELSX);
  return dpi > 0 ? dpi : kDesignDpi;
}

// The rectangle of a WM_DPICHANGED when the message is one Windows could have sent: both
// halves of wParam the same DPI (50 to 1000 percent), lParam a rectangle that can be
// read (copied without touching memory that is not there) and that lies on a monitor.
bool ReadSuggestedRect(WPARAM wParam, LPARAM lParam, RECT& r) {
  const int dpi = LOWORD(wParam);
  if (HIWORD(wParam) != dpi || dpi < kDesignDpi / 2 || dpi > kDesignDpi * 10) return false;
  SIZE_T read = 0;
  if (!lParam || !ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void*>(lParam), &r,
                                    sizeof r, &read) || read != sizeof r) {
    return false;
  }
  return r.right > r.left && r.bottom > r.top && MonitorFromRect(&r, MONITOR_DEFAULTTONULL);
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
  designClient_ = {MulDiv(width, kDesignDpi, dpi_), MulDiv(height, kDesignDpi, dpi_)};
  ApplyClientSize(width, height);
}

void TForm::ApplyClientSize(int width, int height) {
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

void TForm::ScaleToDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;  // first: the controls' own constants scale with the new value
  ChangeScale();
  // The fonts now: the form's reaches the controls that share it, the others have their own.
  FontChanged();
  const std::vector<TControl*> all = AllControls();
  for (TControl* c : all) {
    if (!c->ParentFont()) c->FontChanged();
  }
  AlignControls();
  for (TControl* c : all) {
    if (auto* container = dynamic_cast<TWinControl*>(c)) container->AlignControls();
  }
}

void TForm::ChangeScale() {
  // The form's own place is the window's; what scales is its client area (and its font,
  // made for the DPI when the fonts are refreshed).
  ApplyClientSize(Scale(designClient_.cx), Scale(designClient_.cy));
  for (TControl* c : Controls()) c->ChangeScale();
}

void TForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS);
  params.Style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  params.ExStyle |= WS_EX_APPWINDOW;  // the form stands for the program on the taskbar
  RECT r{0, 0, clientWidth_, clientHeight_};
  AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
  params.Width = r.right - r.left;
  params.Height = r.bottom - r.top;
  params.X = Left();
  params.Y = Top();
  if (centered_) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    params.X = work.left + (work.right - work.left - params.Width) / 2;
    params.Y = work.top + (work.bottom - work.top - params.Height) / 2;
  }
}

void TForm::CreateWnd() {
  // Laid out for the screen's DPI before any window exists, so the start creates every
  // window once, at its size; a window that opens on a monitor of another DPI follows it.
  DeclareDpiAwareness();
  ScaleToDpi(WindowDpi(nullptr));
  TWinControl::CreateWnd();
  ScaleToDpi(WindowDpi(Handle()));
  // The client size is what the layout fixes; correct what the frame estimate missed.
  RECT client;
  GetClientRect(Handle(), &client);
  if (client.right != clientWidth_ || client.bottom != clientHeight_) {
    ApplyClientSize(clientWidth_, clientHeight_);
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
    FocusIfLost();
    UpdateDefaultButtonLook();
  } else if (HandleAllocated()) {
    ShowWindow(Handle(), SW_HIDE);
  }
}

int TForm::ShowModal() {
  modalResult_ = mrNone;
  Show();
  // The form is painted whole before anything else is handled, so the user never sees its
  // frame empty while the loop works: a mouse move over the new window, which comes before
  // its paint messages, would otherwise start the work below first.
  RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  MSG msg;
  // The controls still without a window (pages not shown yet) get theirs once the shown
  // form has painted itself: when nothing waits, or before anything else is handled (a
  // click, a timer). The start waits only for what it shows.
  bool windowsPending = true;
  const auto createPendingWindows = [&] {
    if (!windowsPending) return;
    windowsPending = false;
    Application.RunGuarded([&] {
      for (TControl* c : AllControls()) c->HandleNeeded();
    });
  };
  for (;;) {
    // Peeking handles the messages sent from elsewhere (activation, the display driver),
    // which would otherwise count as waiting while the loop then sits idle without them.
    if (windowsPending && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) createPendingWindows();
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {  // WM_QUIT: end the run and leave the quit for the outer loop
      PostQuitMessage(static_cast<int>(msg.wParam));
      modalResult_ = mrCancel;
      break;
    }
    if (got < 0) {
      modalResult_ = mrCancel;
      break;
    }
    // Windows sends WM_DPICHANGED, never posts it: a posted one comes from another program.
    if (msg.message == WM_DPICHANGED) continue;
    if (msg.message != WM_PAINT) createPendingWindows();
    // A key's handler runs from here, not from a window procedure: it gets the same
    // default error handling as a click.
    Application.RunGuarded([&] {
      if (!HandleDialogKey(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    });
    if (HandleAllocated() && GetFocus() != lastFocus_) UpdateDefaultButtonLook();
    if (modalResult_ != mrNone) {
      bool canClose = false;
      if (Application.RunGuarded([&] { canClose = CloseQuery(); }) && canClose) break;
      modalResult_ = mrNone;
    }
  }
  Hide();
  return modalResult_;
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

TControl* TForm::FocusedControl() const {
  const HWND focus = GetFocus();
  TControl* focused = nullptr;
  if (!focus) return focused;
  for (TControl* c : AllControls()) {  // the deepest control that holds the focus
    if (c->HandleAllocated() && (c->handle_ == focus || IsChild(c->handle_, focus))) focused = c;
  }
  return focused;
}

void TForm::FocusIfLost() {
  if (!HandleAllocated() || GetActiveWindow() != Handle()) return;
  if (const TControl* focused = FocusedControl(); focused && TakesFocus(focused)) return;
  if (defaultButton_ && TakesFocus(defaultButton_)) {
    defaultButton_->SetFocus();
    return;
  }
  for (TControl* c : AllControls()) {
    if (TakesFocus(c)) {
      c->SetFocus();
      return;
    }
  }
  ::SetFocus(Handle());
}

void TForm::UpdateDefaultButtonLook() {
  lastFocus_ = GetFocus();
  // The focused button shows as the one Enter presses; elsewhere the default button does.
  TControl* focused = FocusedControl();
  TControl* active = focused && focused->TakesEnter() ? focused : defaultButton_;
  for (TControl* c : AllControls()) c->SetDefaultLook(c == active);
}

bool TForm::HandleDialogKey(const MSG& msg) {
  if (!HandleAllocated()) return false;
  if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)) return false;
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSCHAR && msg.message != WM_CHAR) return false;
  TControl* focused = FocusedControl();
  if (msg.message != WM_SYSCHAR && focused && focused->KeepsKey(msg)) return false;
  const std::vector<TControl*> all = AllControls();

  if (msg.message == WM_KEYDOWN) {
    if (CtrlOrAltDown()) return false;
    switch (msg.wParam) {
      case VK_TAB: {
        std::vector<TControl*> order;
        for (TControl* c : all) {
          if (TakesFocus(c)) order.push_back(c);
        }
        if (order.empty()) return true;
        const int n = static_cast<int>(order.size());
        int at = -1;
        for (int i = 0; i < n; ++i) {
          if (order[i] == focused) at = i;
        }
        order[ShiftDown() ? (at <= 0 ? n - 1 : at - 1) : (at + 1) % n]->FocusByKeyboard();
        return true;
      }
      case VK_RETURN: {
        TControl* target =
            focused && focused->TakesEnter() && focused->CanFocus() ? focused : defaultButton_;
        if (!target || !target->CanFocus()) return false;
        target->Click();
        return true;
      }
      case VK_ESCAPE:
        // Esc presses the cancel button, and only while it could take the focus.
        if (cancelButton_ && cancelButton_->CanFocus()) cancelButton_->Click();
        return true;
      default:
        return false;
    }
  }

  // Mnemonics: Alt+letter always, the plain letter where the focus takes no characters.
  // The loop reads characters as UTF-16, so a letter outside the ANSI code page arrives whole.
  wchar_t key = static_cast<wchar_t>(msg.wParam);
  CharLowerBuffW(&key, 1);
  if (!key) return false;
  for (TControl* c : all) {
    if (TControl* target = c->MnemonicTarget(key)) {
      target->FocusByKeyboard();
      target->Click();
      return true;
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
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: laid out anew, at the rectangle Windows suggests.
      // Any program may send this message, so it is taken only as Windows sends it.
      RECT r;
      if (!ReadSuggestedRect(wParam, lParam, r)) return 0;
      ScaleToDpi(LOWORD(wParam));
      SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) savedFocus_ = focus;
      } else {
        if (savedFocus_ && IsWindow(savedFocus_) && IsChild(Handle(), savedFocus_)) ::SetFocus(savedFocus_);
        FocusIfLost();
      }
      return 0;
    default:
      break;
  }
  return TWinControl::WndProc(msg, wParam, lParam);
}

void TForm::WMTimer(UINT_PTR) {}

void TForm::LoadLayout(const std::string& resourceName) {
  const payload::TInflatedBytes text = inst::PackedResource(resourceName.c_str());
  if (text.size() == 0) throw ELayoutError("layout resource " + resourceName + " not found");
  LoadLayoutText(std::string(text.begin(), text.end()), resourceName);
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
  if (name == "ClientWidth") {
    SetClientSize(value.AsInteger(), clientHeight_);
  } else if (name == "ClientHeight") {
    SetClientSize(clientWidth_, value.AsInteger());
  } else if (name == "BorderStyle") {
    value.AsEnum({"bsSingle"});  // the one border a form has
  } else if (name == "BorderIcons") {
    for (const std::string& s : value.AsSet()) {
      if (s != "biSystemMenu") throw ELayoutError("unknown border icon " + s);
    }
  } else if (name == "Position") {
    centered_ = value.AsEnum({"poScreenCenter"}) == 0;
  } else if (name == "OnCloseQuery") {
    OnCloseQuery = reader.CloseQueryHandler(value);
  } else if (name == "Width" || name == "Height") {
    return false;  // a form is sized by its client area
  } else {
    return TWinControl::SetProperty(name, value, reader);
  }
  return true;
}

void ShowWaitCursor() { SetCursor(LoadCursorA(nullptr, IDC_WAIT)); }

}  // namespace ui
