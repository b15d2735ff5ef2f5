#include "tests/hardening/Hardening.h"

#include <algorithm>

#include "tests/common/TestProcess.h"

namespace e2e {

TEnvironmentValue::TEnvironmentValue(const char* name, const char* value) : name_(name) {
  const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
  had_ = needed > 0;
  if (had_) {
    old_.assign(needed, '\0');
    old_.resize(GetEnvironmentVariableA(name, old_.data(), needed));
  }
  SetEnvironmentVariableA(name, value);
}

TEnvironmentValue::~TEnvironmentValue() {
  SetEnvironmentVariableA(name_, had_ ? old_.c_str() : nullptr);
}

bool RunUnix(const std::string& command) {
  // Wine gives no process handle to wait on for a Unix program: the shell leaves its exit
  // code in a file of the temporary folder when it is done.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  static int runs = 0;
  const std::string done = std::string(temp) + "unix-run-" + std::to_string(GetCurrentProcessId()) +
                           "-" + std::to_string(++runs);
  const std::string unixDone = UnixPath(temp) + "/" + done.substr(done.rfind('\\') + 1);
  std::string line = "Z:\\bin\\sh -c \"(" + command + "); echo $? >'" + unixDone + ".tmp' && mv '" +
                     unixDone + ".tmp' '" + unixDone + "'\"";
  // Wine may give no handle for it at all; the file below tells whether it ran.
  testkit::TProcess(line).LetRun();
  const DWORD start = GetTickCount();
  while (!testkit::FileExists(done) && GetTickCount() - start < 30000) Sleep(20);
  const std::string code = testkit::ReadWholeFile(done);
  DeleteFileA(done.c_str());
  return code == "0\n";
}

std::string UnixPath(const std::string& path) {
  using UnixFileName = char*(CDECL*)(const wchar_t*);
  const auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  char* name = unixFileName ? unixFileName(std::wstring(path.begin(), path.end()).c_str()) : nullptr;
  const std::string result = name ? name : "";
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

void SharedInstallTest::InstallToFinishPage(TSetupRun& run) {
  WalkToReady(run, MakeHome());
  if (HasFatalFailure()) return;
  run.Next();
  ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
}

void SharedInstallTest::FinishAndExit(TSetupRun& run) {
  run.SetCheck(L"&Launch Zentrova Word Processor", false);
  run.Finish();
  EXPECT_EQ(run.WaitForExit(), 0u);
}

void SharedInstallTest::Answer(const testkit::TMessageBox& box, int button) {
  ASSERT_TRUE(testkit::PressButton(box.window, button));
  ASSERT_TRUE(testkit::WaitForWindowGone(box.window, 5000));
}

void SharedInstallTest::IgnoreEachRefusedFile(const TSetupRun& run, const std::string& folder,
                                              const std::vector<const char*>& files) {
  for (const char* file : files) {
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value()) << file;
    const std::string expected = "Cannot create file \"" + folder + file + "\".";
    EXPECT_EQ(box->text.rfind(std::wstring(expected.begin(), expected.end()), 0), 0u)
        << std::string(box->text.begin(), box->text.end());
    EXPECT_EQ(box->ButtonIds(), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
    Answer(*box, IDIGNORE);
  }
  ASSERT_TRUE(run.WaitForTitle(L"Installation Complete"));
}

std::vector<std::string> SharedInstallTest::CrLfLines(const std::string& path) {
  const std::string text = testkit::ReadWholeFile(path);
  std::vector<std::string> lines;
  std::size_t start = 0, end;
  while ((end = text.find("\r\n", start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, text.size()) << "every line of " << path << " ends with CR LF";
  for (const std::string& line : lines)
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a lone line end in " << path;
  return lines;
}

std::vector<std::string> SharedInstallTest::LoggedEntries(const std::string& sub) const {
  std::vector<std::string> entries;
  for (const char* file : {"Latvian.asc", "hunspell.dll", "lv_LV.dic", "lv_LV.aff", "userdiclv.tlx",
                           "Latvian.hyph"})
    entries.push_back(Public(sub) + "\\" + file + (std::string(file) == "userdiclv.tlx" ? "\t!" : ""));
  std::sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.c_str(), -1,
                          b.c_str(), -1) == CSTR_LESS_THAN;
  });
  return entries;
}

}  // namespace e2e
