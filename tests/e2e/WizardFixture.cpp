#include "tests/e2e/WizardFixture.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace e2e {

namespace {

void ClearSharedState() {
  RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
  const std::string shared = WizardTest::SharedZentrova();
  testkit::RemoveTreeForce(L"\\\\?\\" + std::wstring(shared.begin(), shared.end()));
}

}  // namespace

bool ShowsCarmine(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP copy = CreateCompatibleBitmap(screen, width, height);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<RGBQUAD> pixels(static_cast<std::size_t>(width) * height);
  const auto carmine = [](const RGBQUAD& p) {
    return std::abs(p.rgbRed - 158) < 24 && std::abs(p.rgbGreen - 48) < 24 &&
           std::abs(p.rgbBlue - 57) < 24;
  };
  // Polled: a window just shown may not be painted yet.
  bool seen = false;
  for (const DWORD start = GetTickCount(); !seen && GetTickCount() - start < 5000; Sleep(50)) {
    HGDIOBJ old = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, copy, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    seen = std::any_of(pixels.begin(), pixels.end(), carmine);
  }
  DeleteObject(copy);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return seen;
}

WizardTest::WizardTest() {
  ClearSharedState();
  temp_ = folder_.MakeFolder("temp") + "\\";
  tempEnvironment_ = new testkit::TTempEnvironment(temp_);
}

WizardTest::~WizardTest() {
  delete tempEnvironment_;
  ClearSharedState();
}

std::string WizardTest::MakeHome(const std::string& name) const {
  const std::string home = folder_.MakeFolder(name);
  EXPECT_TRUE(CopyFileA(Built.hostExe.c_str(), (home + "\\qzv.exe").c_str(), FALSE));
  return home;
}

std::string WizardTest::SharedZentrova() {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, path);
  return std::string(path) + "\\Zentrova";
}

void WizardTest::PutSetting(const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr), ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

bool WizardTest::HasSetting(const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  const bool has = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return has;
}

std::string WizardTest::ReadMainDir() {
  char value[1024] = {};
  DWORD size = sizeof value - 1, type = 0;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  RegQueryValueExA(key, "MAINDIR", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  return value;
}

DWORD WizardTest::ReadLaunch() {
  DWORD value = 0xFFFF, size = sizeof value, type = 0;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return value;
  RegQueryValueExA(key, "LAUNCH", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  return value;
}

std::vector<std::string> WizardTest::TempLeftovers() const {
  return testkit::NamesIn(temp_ + "*");
}

void WizardTest::WalkToHomePage(TSetupRun& run) {
  ASSERT_NE(run.Form(), nullptr);
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"License Agreement"));
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"Specify Home Folder"));
}

void WizardTest::WalkToReady(TSetupRun& run, const std::string& home) {
  WalkToHomePage(run);
  if (::testing::Test::HasFatalFailure()) return;
  run.SetEditText(home);
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"Ready to Install"));
}

std::optional<testkit::TMessageBox> WizardTest::Box(const TSetupRun& run) {
  return testkit::WaitForMessageBox(testkit::kWindowTimeoutMs, run.ProcessId());
}

}  // namespace e2e

// ctest hands over the built programs: --setup=<Setup.exe> --host=<qzv.exe> (Unix paths).
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--setup=", 0) == 0) e2e::Built.setupExe = e2e::WinePath(arg.substr(8));
    if (arg.rfind("--host=", 0) == 0) e2e::Built.hostExe = e2e::WinePath(arg.substr(7));
  }
  if (e2e::Built.setupExe.empty() || e2e::Built.hostExe.empty()) {
    fprintf(stderr, "usage: %s --setup=PATH --host=PATH\n", argv[0]);
    return 2;
  }
  return RUN_ALL_TESTS();
}
