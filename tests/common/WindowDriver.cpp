#include "tests/common/WindowDriver.h"

#include <algorithm>

#include <chrono>

namespace testkit {

namespace {

// Interval of every bounded poll: short against the timeouts, long enough not to spin.
constexpr DWORD kPollMs = 10;
// The static control that holds a message box's text, on Windows and Wine alike.
constexpr int kMessageTextId = 0xFFFF;

struct TFindRequest {
  const wchar_t* className;
  const wchar_t* caption;
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
  auto* request = reinterpret_cast<TFindRequest*>(param);
  if (!IsWindowVisible(window)) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (request->processId && pid != request->processId) return TRUE;
  if (request->className && ClassOf(window) != request->className) return TRUE;
  if (request->caption) {
    wchar_t caption[256] = {};
    if (pid != GetCurrentProcessId()) GetWindowTextW(window, caption, 256);
    if ((pid == GetCurrentProcessId() ? WindowText(window) : caption) != request->caption) return TRUE;
  }
  request->found = window;
  return FALSE;
}

// The pixels of an icon drawn at its control's size over a given background colour.
std::vector<COLORREF> IconPixels(HICON icon, int width, int height, COLORREF background) {
  std::vector<COLORREF> pixels;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  if (DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL)) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// What the icon control shows on the screen (for boxes of other processes, whose icon
// handles this process cannot draw).
std::vector<COLORREF> ScreenPixels(HWND control, int width, int height) {
  std::vector<COLORREF> pixels;
  RECT r;
  GetWindowRect(control, &r);
  HDC screen = GetDC(nullptr);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(screen, r.left + x, r.top + y));
  ReleaseDC(nullptr, screen);
  return pixels;
}

TBoxIcon IconOf(HWND box) {
  HWND control = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(child)) {
      control = child;
      break;
    }
  }
  if (!control) return TBoxIcon::None;
  const HICON icon = reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0));
  if (!icon) return TBoxIcon::None;

  RECT r;
  GetClientRect(control, &r);
  const int width = r.right, height = r.bottom;
  const COLORREF background = GetSysColor(COLOR_3DFACE);
  std::vector<COLORREF> shown = IconPixels(icon, width, height, background);
  if (shown.empty()) {
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    shown = ScreenPixels(control, width, height);
  }
  const struct {
    LPCSTR id;
    TBoxIcon icon;
  } standard[] = {{IDI_EXCLAMATION, TBoxIcon::Warning},
                  {IDI_HAND, TBoxIcon::Error},
                  {IDI_ASTERISK, TBoxIcon::Information},
                  {IDI_QUESTION, TBoxIcon::Question}};
  for (const auto& s : standard) {
    const HICON reference = LoadIconA(nullptr, s.id);
    if (reference == icon || IconPixels(reference, width, height, background) == shown)
      return s.icon;
  }
  return TBoxIcon::Unknown;
}

}  // namespace

std::wstring WindowText(HWND window) {
  // WM_GETTEXT rather than GetWindowText: the latter gives no text for controls of
  // another process, and the end-to-end tests read Setup.exe's controls.
  DWORD_PTR length = 0;
  if (!window || !SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
    return L"";
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &got);
  text.resize(std::min<std::size_t>(got, length));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256];
  return std::wstring(name, static_cast<std::size_t>(GetClassNameW(window, name, 256)));
}

const char* IconName(TBoxIcon icon) {
  switch (icon) {
    case TBoxIcon::None:
      return "none";
    case TBoxIcon::Warning:
      return "warning";
    case TBoxIcon::Error:
      return "error";
    case TBoxIcon::Information:
      return "information";
    case TBoxIcon::Question:
      return "question";
    case TBoxIcon::Unknown:
      break;
  }
  return "unknown";
}

HWND FindWindowNow(const wchar_t* className, const wchar_t* caption, DWORD processId) {
  TFindRequest request{className, caption, processId, nullptr};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&request));
  return request.found;
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs,
                   DWORD processId) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (HWND found = FindWindowNow(className, caption, processId)) return found;
    if (std::chrono::steady_clock::now() >= deadline) return nullptr;
    Sleep(kPollMs);
  }
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(kPollMs);
  }
  return true;
}

std::vector<int> TMessageBox::ButtonIds() const {
  std::vector<int> ids;
  for (const auto& b : buttons) ids.push_back(b.id);
  return ids;
}

TMessageBox ReadMessageBox(HWND box) {
  TMessageBox info;
  info.window = box;
  info.owner = GetWindow(box, GW_OWNER);
  info.caption = WindowText(box);
  if (HWND text = GetDlgItem(box, kMessageTextId)) {
    info.text = WindowText(text);
    RECT r;
    GetClientRect(text, &r);
    HDC dc = GetDC(text);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(text, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics;
    if (GetTextMetricsW(dc, &metrics) && metrics.tmHeight > 0)
      info.textLines = (r.bottom + metrics.tmHeight / 2) / metrics.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(text, dc);
  }
  info.icon = IconOf(box);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) != L"Button" || !IsWindowVisible(child)) continue;
    info.buttons.push_back({GetDlgCtrlID(child), WindowText(child)});
  }
  return info;
}

std::optional<TMessageBox> WaitForMessageBox(DWORD timeoutMs, DWORD processId,
                                             const wchar_t* caption) {
  HWND box = WaitForWindow(kDialogClass, caption, timeoutMs, processId);
  if (!box) return std::nullopt;
  // The box is shown before its controls are all in place only in theory; the text
  // control is created with the dialog, so one read is enough.
  return ReadMessageBox(box);
}

bool TypeKey(HWND window, WORD virtualKey, bool alt) {
  SetForegroundWindow(window);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWindowTimeoutMs);
  while (GetForegroundWindow() != window) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(kPollMs);
  }
  std::vector<INPUT> input;
  const auto key = [&input](WORD vk, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    input.push_back(i);
  };
  if (alt) key(VK_MENU, false);
  key(virtualKey, false);
  key(virtualKey, true);
  if (alt) key(VK_MENU, true);
  return SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT)) == input.size();
}

bool PressButton(HWND dialog, int buttonId) {
  HWND button = GetDlgItem(dialog, buttonId);
  if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
  // Posted, not sent: a click that opens another modal loop (a further box, a long run)
  // must not hold the driver until that loop ends.
  PostMessageW(button, BM_CLICK, 0, 0);
  return true;
}

TBoxAnswerer::TBoxAnswerer(int buttonId, int boxes, DWORD timeoutMs)
    : TBoxAnswerer([buttonId](const TMessageBox&) { return buttonId; }, boxes, timeoutMs) {}

TBoxAnswerer::TBoxAnswerer(TChooser choose, int boxes, DWORD timeoutMs)
    : thread_([this, choose = std::move(choose), boxes, timeoutMs] {
        for (int i = 0; i < boxes; ++i) {
          std::optional<TMessageBox> box = WaitForMessageBox(timeoutMs);
          if (!box) return;
          seen_.push_back(*box);
          PressButton(box->window, choose(*box));
          if (!WaitForWindowGone(box->window, timeoutMs)) return;
        }
      }) {}

TBoxAnswerer::~TBoxAnswerer() {
  if (thread_.joinable()) thread_.join();
}

const std::vector<TMessageBox>& TBoxAnswerer::Seen() {
  if (thread_.joinable()) thread_.join();
  return seen_;
}

TFileHolder::TFileHolder(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

TFileHolder::~TFileHolder() { Release(); }

void TFileHolder::Release() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

}  // namespace testkit
