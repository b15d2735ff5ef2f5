// A stand-in for the word processor, for tests and the demo. It marks its main window
// the way the real host does, so the setup program sees it running, and shows what the
// installed Latvian module does.
//   qzv.exe               a window with the report (module files found, sample checked,
//                         words hyphenated, install records read)
//   qzv.exe /report FILE  writes the report to FILE (UTF-8) and exits, no window
//   qzv.exe /stay         a window that only stands for a running host; it loads nothing
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "instutils/Handles.h"

#include "tools/demo-host/HostReport.h"

namespace {

// The property by which the setup program recognises a running host.
const char RunningHostProperty[] = "1.x Quillmarsh";
const char WindowClass[] = "ZentrovaWordProcessorStandIn";
const int ReportEditId = 100;

std::wstring FromUtf8(const std::string& text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), w.data(), n);
  return w;
}

bool WriteReport(const char* path) {
  std::string report = host::BuildReport();
  inst::UniqueFile file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), report.data(), DWORD(report.size()), &written, nullptr) &&
         written == report.size();
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      MoveWindow(GetDlgItem(window, ReportEditId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_DESTROY:
      RemovePropA(window, RunningHostProperty);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int RunWindow(HINSTANCE instance, const std::string& text, int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = WindowClass;
  if (!RegisterClassA(&wc)) return 1;
  HWND window = CreateWindowExA(0, WindowClass, "Zentrova Word Processor", WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, 640, 620, nullptr, nullptr,
                                instance, nullptr);
  if (!window) return 1;
  SetPropA(window, RunningHostProperty, reinterpret_cast<HANDLE>(1));
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", FromUtf8(text).c_str(),
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                                  ES_AUTOVSCROLL,
                              0, 0, 0, 0, window, reinterpret_cast<HMENU>(ReportEditId),
                              instance, nullptr);
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  RECT client;
  GetClientRect(window, &client);
  MoveWindow(edit, 0, 0, client.right, client.bottom, FALSE);
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  for (int i = 1; i < __argc; ++i) {
    if (_stricmp(__argv[i], "/report") == 0 && i + 1 < __argc)
      return WriteReport(__argv[i + 1]) ? 0 : 1;
    if (_stricmp(__argv[i], "/stay") == 0)
      return RunWindow(instance, "Zentrova Word Processor is running.", show);
  }
  return RunWindow(instance, host::BuildReport(), show);
}
