#include "tests/e2e/SetupDriver.h"

#include <gtest/gtest.h>

#include "tests/common/TestFolder.h"
#include "tests/common/WindowDriver.h"

namespace e2e {

using testkit::WidenAnsi;

TBuiltPrograms Built;

namespace {

const wchar_t kFormClass[] = L"TMainDlgForm";

struct TSearch {
  const wchar_t* className;
  const wchar_t* caption;
  bool hiddenToo;
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND w, LPARAM param) {
  auto* s = reinterpret_cast<TSearch*>(param);
  if (!s->hiddenToo && !IsWindowVisible(w)) return TRUE;
  if (_wcsicmp(testkit::ClassOf(w).c_str(), s->className) != 0) return TRUE;
  if (s->caption && testkit::WindowText(w) != s->caption) return TRUE;
  s->found.push_back(w);
  return TRUE;
}

}  // namespace

std::string WinePath(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

TSetupRun::TSetupRun(const std::string& arguments) {
  std::string commandLine = "\"" + Built.setupExe + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  process_ = testkit::TProcess(commandLine);
  if (!process_.Started()) {
    ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
    return;
  }
  WaitForForm(WidenAnsi(commandLine));
}

TSetupRun::TSetupRun(const std::wstring& arguments, const std::string& program,
                     const std::string& currentFolder) {
  std::wstring commandLine = L"\"" + WidenAnsi(program.empty() ? Built.setupExe : program) + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  process_ = testkit::TProcess(commandLine, WidenAnsi(currentFolder));
  if (!process_.Started()) {
    ADD_FAILURE() << "cannot start the program: error " << GetLastError();
    return;
  }
  WaitForForm(commandLine);
}

void TSetupRun::WaitForForm(const std::wstring& commandLine) {
  form_ = testkit::WaitForWindow(kFormClass, nullptr, testkit::kWindowTimeoutMs,
                                 process_.Id());
  EXPECT_NE(form_, nullptr) << "the wizard window did not appear for "
                            << testing::PrintToString(commandLine);
  // Then, as any driver of a program just started: until it waits for input. The pages
  // not shown yet get their windows only then.
  if (form_) WaitForInputIdle(process_.Handle(), testkit::kWindowTimeoutMs);
}

TSetupRun::~TSetupRun() = default;

std::vector<HWND> TSetupRun::FindAll(const wchar_t* className, bool hiddenToo) const {
  TSearch s{className, nullptr, hiddenToo, {}};
  if (form_) EnumChildWindows(form_, Collect, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND TSetupRun::Find(const wchar_t* className, const wchar_t* caption, bool hiddenToo) const {
  TSearch s{className, caption, hiddenToo, {}};
  if (form_) EnumChildWindows(form_, Collect, reinterpret_cast<LPARAM>(&s));
  return s.found.empty() ? nullptr : s.found.front();
}

HWND TSetupRun::Need(const wchar_t* className, const wchar_t* caption) const {
  const DWORD start = GetTickCount();
  HWND w = nullptr;
  while (!(w = Find(className, caption)) && GetTickCount() - start < 5000) Sleep(20);
  EXPECT_NE(w, nullptr) << "no visible window of the class and caption asked for";
  return w;
}

std::wstring TSetupRun::Title() const {
  // The title label lies in the white band at the top: the one label of a panel at the
  // form's top edge.
  for (HWND label : FindAll(L"Static")) {
    RECT r;
    GetWindowRect(label, &r);
    POINT p{r.left, r.top};
    ScreenToClient(form_, &p);
    if (p.y < 40 && p.x < 100) return testkit::WindowText(label);
  }
  return L"";
}

bool TSetupRun::WaitForTitle(const std::wstring& title, DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  while (Title() != title) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

void TSetupRun::Click(const wchar_t* caption) const {
  HWND button = Need(L"Button", caption);
  if (button) PostMessageW(button, BM_CLICK, 0, 0);
}

void TSetupRun::Key(WORD key) const { EXPECT_TRUE(testkit::TypeKey(form_, key)); }

void TSetupRun::AltKey(char letter) const { EXPECT_TRUE(testkit::TypeKey(form_, letter, true)); }

void TSetupRun::SetCheck(const wchar_t* caption, bool checked) const {
  HWND box = Need(L"Button", caption);
  if (box && (SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != checked)
    SendMessageW(box, BM_CLICK, 0, 0);
}

bool TSetupRun::Checked(const wchar_t* caption) const {
  HWND box = Need(L"Button", caption);
  return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool TSetupRun::WaitForCheck(const wchar_t* caption, bool checked) const {
  const DWORD start = GetTickCount();
  while (Checked(caption) != checked) {
    if (GetTickCount() - start > 5000) return false;
    Sleep(20);
  }
  return true;
}

std::wstring TSetupRun::EditText() const {
  HWND edit = Need(L"Edit");
  return edit ? testkit::WindowText(edit) : L"";
}

void TSetupRun::SetEditText(const std::string& text) const {
  HWND edit = Need(L"Edit");
  if (edit) SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WidenAnsi(text).c_str()));
}

void TSetupRun::CloseBox() const {
  PostMessageW(form_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

DWORD TSetupRun::WaitForExit(DWORD timeoutMs) { return process_.WaitForExit(timeoutMs); }

}  // namespace e2e
