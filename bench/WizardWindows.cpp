// The start-up floor of the wizard's window tree: the windows the wizard shows on its first
// page, with the same manifest (common controls 6, DPI awareness), OLE, the shell-folder
// lookup, the tab control class, the two fonts and the icon, and nothing of the program's
// own work (no layout, no store, no logos, no settings). Built with the same toolchain as
// the bare window; what Setup.exe takes above it is its own work before the first paint.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "resources/SetupResources.h"

namespace {

const char kDrawnClass[] = "BenchWizardDrawn";

// Panels, the page, the pictures and the bevels: windows that fill themselves when painted.
LRESULT CALLBACK DrawnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

struct TChild {
  int parent;  // index into the windows made so far; 0 is the form
  const char* windowClass;
  const char* text;
  int x, y, width, height;
  bool bold;
};

// The first page's windows, in the layout's creation order and at its places.
const TChild kChildren[] = {
    {0, WC_TABCONTROLA, "", 120, 41, 375, 268, false},  // 1 the page control
    {1, kDrawnClass, "", 4, 4, 367, 260, false},        // 2 the welcome page
    {2, "STATIC", "This program will install the Zentrova Latvian Spellchecker", 12, 27, 349, 115,
     false},
    {0, kDrawnClass, "", 0, 0, 492, 46, false},    // 4 the title band
    {4, "STATIC", "Welcome", 20, 14, 300, 18, true},
    {4, kDrawnClass, "", 440, 6, 34, 34, false},   // the small logo
    {0, kDrawnClass, "", 0, 46, 123, 301, false},  // 7 the left band
    {7, kDrawnClass, "", 1, 0, 120, 260, false},   // the logo
    {7, kDrawnClass, "", 121, 0, 2, 301, false},   // its line
    {0, kDrawnClass, "", 0, 307, 492, 44, false},  // 10 the button band
    {10, "BUTTON", "< &Back", 210, 12, 85, 22, false},
    {10, "BUTTON", "&Next >", 295, 12, 85, 22, false},
    {10, "BUTTON", "Cancel", 392, 12, 85, 22, false},
    {0, kDrawnClass, "", 0, 306, 492, 2, false},   // 14 the band's line
    {14, kDrawnClass, "", 1, 0, 491, 2, false},
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  OleInitialize(nullptr);
  HMODULE shell = LoadLibraryExA("shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!shell || !GetProcAddress(shell, "SHGetFolderPathA")) return 1;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES};
  if (!InitCommonControlsEx(&classes)) return 1;

  WNDCLASSA windowClass{};
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpfnWndProc = DrawnProc;
  windowClass.lpszClassName = kDrawnClass;
  if (!RegisterClassA(&windowClass)) return 1;
  windowClass.lpfnWndProc = FormProc;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "BenchWizardWindows";
  if (!RegisterClassA(&windowClass)) return 1;

  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT frame{0, 0, 492, 351};
  AdjustWindowRect(&frame, style, FALSE);
  HWND windows[1 + sizeof kChildren / sizeof kChildren[0]] = {};
  windows[0] = CreateWindowA("BenchWizardWindows", "Bare Wizard Windows", style, CW_USEDEFAULT,
                             CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                             nullptr, nullptr, instance, nullptr);
  if (!windows[0]) return 1;
  HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(SETUP_ICON_ID));
  SendMessageA(windows[0], WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(windows[0], WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  HFONT text =
      CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg 2");
  HFONT title = CreateFontA(-15, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  int n = 1;
  for (const TChild& c : kChildren) {
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + n));
    windows[n] = CreateWindowA(c.windowClass, c.text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, c.x,
                               c.y, c.width, c.height, windows[c.parent], id, instance, nullptr);
    if (!windows[n]) return 1;
    SendMessageA(windows[n], WM_SETFONT, reinterpret_cast<WPARAM>(c.bold ? title : text), FALSE);
    ++n;
  }
  ShowWindow(windows[0], show);
  UpdateWindow(windows[0]);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  DeleteObject(text);
  DeleteObject(title);
  OleUninitialize();
  return 0;
}
