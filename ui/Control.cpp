#include "ui/Control.h"

#include <map>
#include <stdexcept>

#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/LayoutReader.h"
#include "ui/WinControl.h"

namespace ui {

TControl* TControl::creating_ = nullptr;

LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace {

// Our own window classes carry the control class's name ("TPanel") and share one
// window procedure that hands every message to the object.
const wchar_t* OwnWindowClass(const char* name) {
  static std::map<std::string, std::wstring> registered;
  if (auto it = registered.find(name); it != registered.end()) return it->second.c_str();
  const std::wstring wide(name, name + std::char_traits<char>::length(name));  // ASCII
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = ControlWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = wide.c_str();
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw std::runtime_error(std::string("cannot register the window class ") + name);
  }
  return registered.emplace(name, wide).first->second.c_str();
}

bool IsShown(HWND window) { return GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE; }

}  // namespace

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

wchar_t MnemonicOf(const std::wstring& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;  // "&&" shows one "&"
      continue;
    }
    wchar_t c = caption[i + 1];
    CharLowerBuffW(&c, 1);
    return c;
  }
  return 0;
}

LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<TControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!control && msg == WM_NCCREATE) {
    control = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (control) {
      control->handle_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
  }
  if (!control) return DefWindowProcW(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  // Never unwind through the system's frames: the default error handling shows it.
  Application.RunGuarded([&] { result = control->WndProc(msg, wParam, lParam); });
  if (msg == WM_NCDESTROY) control->DetachWindow();
  return result;
}

TControl::TControl(TWinControl* parent) : parent_(parent) {
  if (parent_) parent_->InsertControl(this);
}

TControl::~TControl() {
  DestroyHandle();
  if (parent_) parent_->RemoveControl(this);
}

TForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::AddWithChildren(std::vector<TControl*>& out) { out.push_back(this); }

HWND TControl::Handle() {
  HandleNeeded();
  return handle_;
}

void TControl::HandleNeeded() {
  if (handle_) return;
  if (parent_) parent_->HandleNeeded();  // creates this window too, with its siblings
  if (!handle_) CreateWnd();
}

void TControl::CreateParams(TCreateParams& params) {
  params.X = left_;
  params.Y = top_;
  params.Width = width_;
  params.Height = WindowHeight();
}

void TControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  const bool standard = p.WindowClass != nullptr;
  const wchar_t* windowClass = standard ? p.WindowClass : OwnWindowClass(ClassName());
  DWORD style = p.Style;
  if (visible_ && parent_) style |= WS_VISIBLE;
  if (!enabled_) style |= WS_DISABLED;
  if (tabStop_) style |= WS_TABSTOP;
  HWND parentWnd = parent_ ? parent_->handle_ : nullptr;
  HMENU menu = nullptr;
  if (parent_) {
    TForm* form = ParentForm();
    static int looseIds = 30000;  // controls outside any form
    id_ = form ? form->NextControlId() : looseIds++;
    menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_));
  }
  TControl* outer = creating_;
  creating_ = this;
  HWND h = CreateWindowExW(p.ExStyle, windowClass, caption_.c_str(), style, p.X, p.Y, p.Width,
                           p.Height, parentWnd, menu, GetModuleHandleW(nullptr),
                           standard ? nullptr : this);
  creating_ = outer;
  if (!h) {
    throw std::runtime_error("cannot create the window of " + name_ + " (" + ClassName() + ")");
  }
  if (standard) {
    handle_ = h;
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    standardProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlWindowProc)));
  }
  // A later sibling lies above an earlier one.
  if (parent_) SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ApplyFont();
}

void TControl::DestroyHandle() {
  if (!handle_) return;
  HWND h = handle_;
  // Detach first: the object takes no messages from a window on its way out.
  SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  if (standardProc_) SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(standardProc_));
  handle_ = nullptr;
  standardProc_ = nullptr;
  DestroyWindow(h);
}

void TControl::DetachWindow() {
  if (handle_) SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
  handle_ = nullptr;
  standardProc_ = nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  const int dpi = Dpi();
  const auto design = [dpi](int v) { return MulDiv(v, kDesignDpi, dpi); };
  design_ = {design(left), design(top), design(width), design(height)};
  PlaceAt(left, top, width, height);
}

void TControl::PlaceAt(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (handle_ && parent_) {
    SetWindowPos(handle_, nullptr, left, top, width, WindowHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TControl::SetAlign(TAlign align) {
  align_ = align;
  if (parent_) parent_->AlignControls();
}

void TControl::SetVisible(bool visible) {
  // Showing what shows, or hiding what is hidden, costs the system a round for nothing.
  if (visible == visible_ && (!handle_ || IsShown(handle_) == visible)) return;
  visible_ = visible;
  if (!visible) HandOnFocus();
  if (handle_) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
  if (align_ != TAlign::alNone && parent_) parent_->AlignControls();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_ && (!handle_ || (IsWindowEnabled(handle_) != FALSE) == enabled)) return;
  enabled_ = enabled;
  if (!enabled) HandOnFocus();
  if (handle_) EnableWindow(handle_, enabled);
}

void TControl::HandOnFocus() {
  const HWND focus = GetFocus();
  if (!handle_ || !focus || (focus != handle_ && !IsChild(handle_, focus))) return;
  // Moved once, straight to where the form puts a lost focus, before the window goes:
  // Windows would otherwise hand it to the parent window first.
  if (TForm* form = ParentForm()) form->FocusIfLost();
}

bool TControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

void TControl::SetFocus() { ::SetFocus(Handle()); }

bool TControl::KeepsKey(const MSG& msg) {
  if (!handle_) return false;
  const LRESULT code =
      SendMessageW(handle_, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  if (msg.message == WM_CHAR) return code & DLGC_WANTCHARS;
  return code & (msg.wParam == VK_TAB ? DLGC_WANTTAB : DLGC_WANTMESSAGE);
}

TControl* TControl::MnemonicTarget(wchar_t) { return nullptr; }

void TControl::FocusByKeyboard() { SetFocus(); }

void TControl::SetTabStop(bool tabStop) {
  tabStop_ = tabStop;
  if (!handle_) return;
  LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
  style = tabStop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
  SetWindowLongPtrW(handle_, GWL_STYLE, style);
}

void TControl::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  // The window's own text is compared, since an edit's text is the user's to change.
  if (handle_ && WindowText(handle_) != caption) SetWindowTextW(handle_, caption.c_str());
  CaptionChanged();
}

void TControl::SetColor(TColor color) {
  color_ = color;
  ColorChanged();
}

TColor TControl::BackgroundColor() const { return parent_ ? parent_->BackgroundColor() : color_; }

const TFont& TControl::Font() const { return parentFont_ && parent_ ? parent_->Font() : font_; }

void TControl::SetFont(const TFont& font) {
  font_ = font;
  parentFont_ = false;
  FontChanged();
}

HFONT TControl::FontHandle() {
  const TFont& font = Font();
  const int dpi = Dpi();
  if (!fontHandle_ || !(fontHandleFor_ == font) || fontHandleDpi_ != dpi) {
    fontHandle_ = font.Create(dpi);
    fontHandleFor_ = font;
    fontHandleDpi_ = dpi;
  }
  return fontHandle_.get();
}

TEXTMETRICW TControl::FontMetrics() {
  TEXTMETRICW tm{};
  const TWindowDC screen;
  const TSelected font(screen.get(), FontHandle());
  GetTextMetricsW(screen.get(), &tm);
  return tm;
}

void TControl::ApplyFont() {
  if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
}

void TControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

int TControl::Dpi() const {
  const TForm* form = ParentForm();
  return form ? form->dpi_ : kDesignDpi;
}

int TControl::Scale(int pixels) const { return MulDiv(pixels, Dpi(), kDesignDpi); }

void TControl::ChangeScale() {
  PlaceAt(Scale(design_.Left), Scale(design_.Top), Scale(design_.Width), Scale(design_.Height));
}

void TControl::FontChanged() {
  ApplyFont();
  Invalidate();
}

void TControl::CaptionChanged() {}

void TControl::Loaded() { loading_ = false; }

void TControl::ColorChanged() { Invalidate(); }

void TControl::FillBackground(HDC dc, TColor color) {
  RECT r;
  GetClientRect(handle_, &r);
  FillRect(dc, &r, BrushFor(color));
}

HBRUSH TControl::BrushFor(TColor color) {
  if (color & kSystemColorFlag) return GetSysColorBrush(color & 0xFF);
  if (!brush_ || brushColor_ != color) {
    brush_.reset(CreateSolidBrush(ColorToRGB(color)));
    brushColor_ = color;
  }
  return brush_.get();
}

LRESULT TControl::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (standardProc_) return CallWindowProcW(standardProc_, handle_, msg, wParam, lParam);
  return DefWindowProcW(handle_, msg, wParam, lParam);
}

LRESULT TControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (standardProc_) return DefaultProc(msg, wParam, lParam);
  switch (msg) {
    case WM_GETFONT:
      // Windows of our own classes tell their font as standard controls do, so tools that
      // read a window's font (and tests) see the one it is drawn with.
      return reinterpret_cast<LRESULT>(FontHandle());
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(handle_, &ps);
      if (drawn_) FillBackground(dc, BackgroundColor());
      PaintControl(dc);
      EndPaint(handle_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      if (drawn_) return 1;  // painted with the control
      break;
    case WM_NCHITTEST:
      if (drawn_) return HTTRANSPARENT;
      break;
    default:
      break;
  }
  return DefaultProc(msg, wParam, lParam);
}

void TControl::PaintControl(HDC) {}
void TControl::CommandNotify(WORD) {}
void TControl::DrawItemNotify(DRAWITEMSTRUCT&) {}
void TControl::MeasureItemNotify(MEASUREITEMSTRUCT&) {}
HBRUSH TControl::CtlColor(HDC) { return nullptr; }

bool TControl::SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader&) {
  if (name == "Caption") {
    SetCaption(value.AsString());
  } else if (name == "Left") {
    SetBounds(value.AsInteger(), top_, width_, height_);
  } else if (name == "Top") {
    SetBounds(left_, value.AsInteger(), width_, height_);
  } else if (name == "Width") {
    SetBounds(left_, top_, value.AsInteger(), height_);
  } else if (name == "Height") {
    SetHeight(value.AsInteger());
  } else if (name == "Align") {
    SetAlign(static_cast<TAlign>(value.AsEnum({"alNone", "alTop", "alRight"})));
  } else if (name == "Visible") {
    SetVisible(value.AsBoolean());
  } else if (name == "TabStop") {
    SetTabStop(value.AsBoolean());
  } else if (name == "Color") {
    SetColor(value.AsColor());
  } else if (name.starts_with("Font.")) {
    TFont font = Font();
    const std::string part = name.substr(5);
    if (part == "Name") {
      font.Name = value.AsString();
    } else if (part == "Height") {
      font.Height = value.AsInteger();
    } else if (part == "Color") {
      font.Color = value.AsColor();
    } else if (part == "Style") {
      font.Style = 0;
      for (const std::string& s : value.AsSet()) {
        if (s == "fsBold") font.Style |= static_cast<unsigned>(TFontStyle::Bold);
        else if (s == "fsItalic") font.Style |= static_cast<unsigned>(TFontStyle::Italic);
        else throw ELayoutError("unknown font style " + s);
      }
    } else {
      return false;
    }
    SetFont(font);
  } else {
    return false;
  }
  return true;
}

}  // namespace ui
