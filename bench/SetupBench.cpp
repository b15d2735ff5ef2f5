// Times Setup.exe and its peer, an NSIS installer of the same files, from outside, as a
// user meets them; every program of a round is measured in that round:
//   start-up      process start to the wizard window visible and painted: Setup.exe, the
//                 NSIS wizard, a bare window and the wizard's first-page windows alone (the
//                 floor of its window tree: WizardWindows.exe)
//   installation  Next on the ready page to the finish page painted / CopyFileW of the same
//                 twelve files (six module files into two folders); Setup.exe /S (start to
//                 exit, the six files into one folder) / the NSIS installer's silent run of
//                 the same six files and / CopyFileW of them; the NSIS installer's silent
//                 run / CopyFileW of its six files, and the same less the silent run of that
//                 wizard without the files: its extraction. Every install is a fresh one.
//   baseline      with --baseline, another build of Setup.exe (a build of main) timed in the
//                 same rounds as ours in every row of ours: start-up, installation run and
//                 /S (a revision without /S has none)
//   SetupBench --setup=EXE --bare=EXE --floor=EXE --host=qzv.exe --nsis=EXE --nsis-empty=EXE
//              [--baseline=EXE] [--startup-rounds=N] [--install-rounds=N]  (Windows paths)
#include <windows.h>

#include <shlobj.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench/BenchStats.h"
#include "instutils/Handles.h"
#include "instutils/ProductNames.h"
#include "instutils/Widen.h"
#include "tests/common/TestProcess.h"
#include "tests/common/WindowDriver.h"

namespace {

const wchar_t kFormClass[] = L"TMainDlgForm";
const wchar_t kSetupTitle[] = L"Zentrova Latvian Spellchecker - Setup";
const wchar_t kBareClass[] = L"BenchBareWindow";
const wchar_t kBareTitle[] = L"Bare Window";
const wchar_t kFloorClass[] = L"BenchWizardWindows";
const wchar_t kFloorTitle[] = L"Bare Wizard Windows";
const wchar_t kNsisClass[] = L"#32770";  // the NSIS wizard is a dialog
const wchar_t kNsisTitle[] = L"Zentrova Latvian Spellchecker Setup";
const char kProductKey[] = "Software\\Zentrova Word Processor";
const char kSettingsKey[] = "Software\\Zentrova Word Processor\\Install";
const wchar_t* const kModuleFiles[] = {L"Latvian.asc", L"hunspell.dll",  L"lv_LV.dic",
                                       L"lv_LV.aff",   L"userdiclv.tlx", L"Latvian.hyph"};
const wchar_t* const kModuleFolders[] = {L"Spellcheck", L"Orthographe"};

// Back-to-back process starts raise Wine's floor: every sample waits this long first.
constexpr DWORD kPauseMs = 300;
constexpr double kTimeoutMs = 30000;

// A started program, ended (if it still runs) when it goes.
testkit::TProcess Start(const std::wstring& exe, const std::wstring& arguments = L"") {
  testkit::TProcess process(L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments));
  if (!process.Started()) bench::Fail("cannot start " + std::to_string(GetLastError()));
  return process;
}

HWND WaitForVisibleWindow(const testkit::TProcess& process, const wchar_t* className,
                          const wchar_t* caption) {
  const double start = bench::NowMs();
  for (;;) {
    if (HWND found = testkit::FindWindowNow(className, caption, process.Id())) return found;
    if (bench::NowMs() - start > kTimeoutMs) bench::Fail("no window appeared");
    Sleep(1);
  }
}

// True when neither the window nor any window shown inside it waits to be painted. The
// update regions are the system's, read without a message to the program.
bool Painted(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return false;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child) && !Painted(child)) return false;
  return true;
}

// A window is there for the user once everything in it has been painted: its frame may
// show well before (the visible flag is set as showing begins), with nothing drawn in it.
void WaitUntilPainted(HWND window) {
  const double start = bench::NowMs();
  while (!Painted(window)) {
    if (bench::NowMs() - start > kTimeoutMs) bench::Fail("the window was never painted");
    Sleep(1);
  }
}

// Process start to its window visible and painted, in ms; the process is ended afterwards.
double StartUp(const std::wstring& exe, const wchar_t* className, const wchar_t* caption) {
  Sleep(kPauseMs);
  const double start = bench::NowMs();
  const testkit::TProcess process = Start(exe);
  WaitUntilPainted(WaitForVisibleWindow(process, className, caption));
  return bench::NowMs() - start;
}

// Controls of the wizard, found and used as an accessibility tool would.
std::wstring TextOf(HWND w) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 30000, &length)) return L"";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 30000, &got);
  text.resize(got < length ? got : length);
  return text;
}

std::vector<HWND> Children(HWND form, const wchar_t* className) {
  struct TCollect {
    const wchar_t* className;
    std::vector<HWND> found;
    static BOOL CALLBACK Visit(HWND w, LPARAM param) {
      auto* c = reinterpret_cast<TCollect*>(param);
      wchar_t name[64];
      if (IsWindowVisible(w) && GetClassNameW(w, name, 64) && _wcsicmp(name, c->className) == 0)
        c->found.push_back(w);
      return TRUE;
    }
  } collect{className, {}};
  EnumChildWindows(form, TCollect::Visit, reinterpret_cast<LPARAM>(&collect));
  return collect.found;
}

HWND Button(HWND form, const wchar_t* caption) {
  const double start = bench::NowMs();
  do {
    for (HWND b : Children(form, L"Button"))
      if (TextOf(b) == caption) return b;
    Sleep(5);
  } while (bench::NowMs() - start < kTimeoutMs);
  bench::Fail("no button");
}

// The page title: the one label at the top left of the white band. Labels are static
// controls; in a baseline build from before that, windows of their own class.
std::wstring Title(HWND form) {
  for (const wchar_t* labelClass : {L"Static", L"TLabel"}) {
    for (HWND label : Children(form, labelClass)) {
      RECT r;
      GetWindowRect(label, &r);
      POINT p{r.left, r.top};
      ScreenToClient(form, &p);
      if (p.y < 40 && p.x < 100) return TextOf(label);
    }
  }
  return L"";
}

// Waits for the page title. While the wizard works inside a click, the title's text
// message waits for it, so the title is read as soon as the wizard answers again.
void WaitForTitle(HWND form, const wchar_t* title) {
  const double start = bench::NowMs();
  while (Title(form) != title) {
    if (bench::NowMs() - start > kTimeoutMs) bench::Fail("the wizard did not reach a page");
    Sleep(1);
  }
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

// Folders and files of a round.
std::wstring CommonAppData() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, path);
  return path;
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  inst::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (find) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find.get(), &found));
  }
  find.reset();
  RemoveDirectoryW(folder.c_str());
}

// The first `folders` module folders, empty: a shared installation then writes the six
// files into each of them.
void MakeModuleFolders(const std::wstring& base, std::size_t folders) {
  CreateDirectoryW(base.c_str(), nullptr);
  for (std::size_t f = 0; f < folders; ++f)
    CreateDirectoryW((base + L"\\" + kModuleFolders[f]).c_str(), nullptr);
}

void ClearSharedState(const std::wstring& shared) {
  RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
  RemoveTree(shared);
}

class TInstallBench {
 public:
  TInstallBench(const std::wstring& setupExe, const std::wstring& hostExe, const std::wstring& work)
      : shared_(CommonAppData() + L"\\Zentrova"),
        home_(work + L"\\Zentrova Home"),
        source_(work + L"\\source"),
        copies_(work + L"\\copies") {
    CreateDirectoryW(home_.c_str(), nullptr);
    if (!CopyFileW(hostExe.c_str(), (home_ + L"\\qzv.exe").c_str(), FALSE))
      bench::Fail("cannot copy the host program");
    // One untimed installation: it warms Wine up and leaves the files the copies start from.
    Install(setupExe);
  }
  ~TInstallBench() {
    ClearSharedState(shared_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kProductKey);  // only when nothing else is left in it
  }
  TInstallBench(const TInstallBench&) = delete;
  TInstallBench& operator=(const TInstallBench&) = delete;

  // `exe`'s wizard walked to the ready page, then Next there to the finish page painted, in ms.
  double Install(const std::wstring& exe) {
    MakeSharedHost(2);
    Sleep(kPauseMs);
    const testkit::TProcess setup = Start(exe);
    HWND form = WaitForVisibleWindow(setup, kFormClass, kSetupTitle);
    Click(Button(form, L"&Next >"));
    WaitForTitle(form, L"License Agreement");
    Click(Button(form, L"&Next >"));
    WaitForTitle(form, L"Specify Home Folder");
    SendMessageW(Children(form, L"Edit").at(0), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(home_.c_str()));
    Click(Button(form, L"&Next >"));
    WaitForTitle(form, L"Ready to Install");
    HWND next = Button(form, L"&Next >");
    Sleep(kPauseMs);
    const double start = bench::NowMs();
    Click(next);
    WaitForTitle(form, L"Installation Complete");
    WaitUntilPainted(form);
    const double took = bench::NowMs() - start;
    HWND launch = Button(form, L"&Launch Zentrova Word Processor");
    if (SendMessageW(launch, BM_GETCHECK, 0, 0) == BST_CHECKED)
      SendMessageW(launch, BM_CLICK, 0, 0);
    Click(Button(form, L"&Finish"));
    if (setup.WaitForExit(30000) == STILL_ACTIVE) bench::Fail("the wizard did not end");
    if (!Installed(2)) bench::Fail("the wizard's installation left a file out");
    if (GetFileAttributesW(source_.c_str()) == INVALID_FILE_ATTRIBUTES) {
      CreateDirectoryW(source_.c_str(), nullptr);
      for (const wchar_t* file : kModuleFiles)
        CopyFileW((shared_ + L"\\Public\\Spellcheck\\" + file).c_str(),
                  (source_ + L"\\" + file).c_str(), FALSE);
    }
    ClearSharedState(shared_);
    return took;
  }

  // `exe` /S, process start to exit, in ms: a shared installation of the six files (one
  // module folder), the install stamp and the update log.
  double Silent(const std::wstring& exe) {
    MakeSharedHost(1);
    Sleep(kPauseMs);
    const double start = bench::NowMs();
    const testkit::TProcess run = Start(exe, SilentArguments());
    const DWORD code = run.WaitForExit(static_cast<DWORD>(kTimeoutMs));
    const double took = bench::NowMs() - start;
    if (code == STILL_ACTIVE) bench::Fail("Setup.exe /S did not end");
    if (code != 0) bench::Fail("Setup.exe /S ended with exit code " + std::to_string(code));
    if (!Installed(1)) bench::Fail("Setup.exe /S left a file out");
    ClearSharedState(shared_);
    return took;
  }

  // Why `exe` cannot be timed with /S (empty: it can), from one untimed run: a revision
  // from before the unattended mode opens its wizard instead.
  std::string SilentRefusal(const std::wstring& exe) {
    MakeSharedHost(1);
    std::string why;
    {
      const testkit::TProcess run = Start(exe, SilentArguments());
      const double start = bench::NowMs();
      DWORD code;
      while ((code = run.WaitForExit(10)) == STILL_ACTIVE && why.empty()) {
        if (testkit::FindWindowNow(kFormClass, kSetupTitle, run.Id())) why = "opened its wizard";
        else if (bench::NowMs() - start > kTimeoutMs) why = "did not end";
      }
      if (why.empty() && code != 0) why = "ended with exit code " + std::to_string(code);
      if (why.empty() && !Installed(1)) why = "left a file out";
    }  // ended here if it still runs
    ClearSharedState(shared_);
    return why;
  }

  // The six module files' bytes copied with CopyFileW into the first `folders` of the two
  // empty module folders, in ms: both for our twelve files, one for the NSIS installer's six.
  double Copy(std::size_t folders) {
    RemoveTree(copies_);
    MakeModuleFolders(copies_, folders);
    Sleep(kPauseMs);
    const double start = bench::NowMs();
    for (std::size_t f = 0; f < folders; ++f)
      for (const wchar_t* file : kModuleFiles)
        if (!CopyFileW((source_ + L"\\" + file).c_str(),
                       (copies_ + L"\\" + kModuleFolders[f] + L"\\" + file).c_str(), FALSE))
          bench::Fail("CopyFileW failed");
    const double took = bench::NowMs() - start;
    RemoveTree(copies_);
    return took;
  }

 private:
  // A fresh shared host: the home folder with the word processor, the shared data folder
  // with its Hidden folder and the first `folders` module folders, empty.
  void MakeSharedHost(std::size_t folders) {
    ClearSharedState(shared_);
    CreateDirectoryW(shared_.c_str(), nullptr);
    CreateDirectoryW((shared_ + L"\\Hidden").c_str(), nullptr);
    MakeModuleFolders(shared_ + L"\\Public", folders);
  }

  // The six files in each of the first `folders` module folders, the stamp and the log.
  bool Installed(std::size_t folders) const {
    const auto there = [](const std::wstring& path) {
      return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    for (std::size_t f = 0; f < folders; ++f)
      for (const wchar_t* file : kModuleFiles)
        if (!there(shared_ + L"\\Public\\" + kModuleFolders[f] + L"\\" + file)) return false;
    return there(shared_ + L"\\" + inst::Widen(inst::kInstallStampFile)) &&
           there(shared_ + L"\\" + inst::Widen(inst::kUpdateLogFile));
  }

  // -d first: only the first argument left once the options are taken out names the folder.
  std::wstring SilentArguments() const { return L"\"-d" + home_ + L"\" /S"; }

  std::wstring shared_, home_, source_, copies_;
};

// An NSIS installer run silently (/S) into an empty folder, process start to exit, in ms.
// With `files`, the six module files must then be in the folder's Spellcheck.
double SilentInstall(const std::wstring& installer, const std::wstring& folder, bool files) {
  RemoveTree(folder);
  Sleep(kPauseMs);
  const double start = bench::NowMs();
  const testkit::TProcess run = Start(installer, L"/S /D=" + folder);  // /D= last, never quoted
  const DWORD code = run.WaitForExit(static_cast<DWORD>(kTimeoutMs));
  if (code == STILL_ACTIVE) bench::Fail("the NSIS installer did not end");
  const double took = bench::NowMs() - start;
  if (code != 0) bench::Fail("the NSIS installer failed");
  if (files)
    for (const wchar_t* file : kModuleFiles)
      if (GetFileAttributesW((folder + L"\\Spellcheck\\" + file).c_str()) == INVALID_FILE_ATTRIBUTES)
        bench::Fail("the NSIS installer did not install a module file");
  RemoveTree(folder);
  return took;
}

}  // namespace

int main(int argc, char** argv) {
  std::wstring setupExe, bareExe, floorExe, hostExe, nsisExe, nsisEmptyExe, baselineExe;
  int startupRounds = 15, installRounds = 7;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq),
                      value = eq == std::string::npos ? "" : arg.substr(eq + 1);
    if (name == "--setup") setupExe = inst::Widen(value);
    if (name == "--bare") bareExe = inst::Widen(value);
    if (name == "--floor") floorExe = inst::Widen(value);
    if (name == "--host") hostExe = inst::Widen(value);
    if (name == "--nsis") nsisExe = inst::Widen(value);
    if (name == "--nsis-empty") nsisEmptyExe = inst::Widen(value);
    if (name == "--baseline") baselineExe = inst::Widen(value);
    if (name == "--startup-rounds") startupRounds = std::atoi(value.c_str());
    if (name == "--install-rounds") installRounds = std::atoi(value.c_str());
  }
  if (setupExe.empty() || bareExe.empty() || floorExe.empty() || hostExe.empty() ||
      nsisExe.empty() || nsisEmptyExe.empty()) {
    std::fprintf(stderr,
                 "usage: SetupBench --setup=EXE --bare=EXE --floor=EXE --host=EXE --nsis=EXE "
                 "--nsis-empty=EXE [--baseline=EXE] [--startup-rounds=N] [--install-rounds=N]\n");
    return 2;
  }
  // A scratch folder of its own, also the temporary folder of every program started here,
  // so that the temporary files of a wizard ended from outside go with it.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring work =
      std::wstring(temp) + L"Zentrova Bench " + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(work.c_str(), nullptr);
  const std::wstring childTemp = work + L"\\temp";
  CreateDirectoryW(childTemp.c_str(), nullptr);
  SetEnvironmentVariableW(L"TEMP", childTemp.c_str());
  SetEnvironmentVariableW(L"TMP", childTemp.c_str());

  const int result = bench::Main([&] {
    // Measurements of one set of rounds, each added with its index among them.
    struct TMeasures {
      std::vector<std::function<double()>> list;
      std::size_t Add(std::function<double()> measure) {
        list.push_back(std::move(measure));
        return list.size() - 1;
      }
    };
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    const bool withBaseline = !baselineExe.empty();
    // Our row's baseline-build side: our samples paired with the build's (none taken when
    // the build cannot run the row); nothing without a baseline build.
    const auto againstBuild = [&](const std::vector<std::vector<double>>& samples, std::size_t ours,
                                  std::size_t build) -> std::optional<bench::TPairs> {
      if (!withBaseline) return std::nullopt;
      return build == kNone ? bench::TPairs() : bench::Pairs(samples[ours], samples[build]);
    };

    TMeasures starts;
    const std::size_t setupStart = starts.Add([&] { return StartUp(setupExe, kFormClass, kSetupTitle); }),
                      bareStart = starts.Add([&] { return StartUp(bareExe, kBareClass, kBareTitle); }),
                      nsisStart = starts.Add([&] { return StartUp(nsisExe, kNsisClass, kNsisTitle); }),
                      floorStart = starts.Add([&] { return StartUp(floorExe, kFloorClass, kFloorTitle); }),
                      baselineStart = withBaseline ? starts.Add([&] {
                        return StartUp(baselineExe, kFormClass, kSetupTitle);
                      })
                                                   : kNone;

    // One bare window stays open throughout: Wine's desktop process ends about a second
    // after the last program attached to it, and the next one would pay for its restart.
    const testkit::TProcess keepAlive = Start(bareExe);
    WaitForVisibleWindow(keepAlive, kBareClass, kBareTitle);
    bench::Rounds(1, starts.list);  // one untimed start of each: file caches filled alike
    const auto started = bench::Rounds(startupRounds, starts.list);
    const auto ourStart = againstBuild(started, setupStart, baselineStart);
    bench::TimeRow("Start-up: Setup.exe, process start to window painted / bare Win32 window",
                   bench::Pairs(started[setupStart], started[bareStart]), ourStart);
    bench::TimeRow("Start-up: NSIS wizard painted / bare Win32 window",
                   bench::Pairs(started[nsisStart], started[bareStart]));
    bench::TimeRow("Start-up: Setup.exe / NSIS wizard, each to its window painted",
                   bench::Pairs(started[setupStart], started[nsisStart]), ourStart);
    // The floor: what the wizard's first page costs as windows alone, before any work of ours.
    bench::TimeRow("Start-up: the wizard's windows alone (manifest, OLE, common controls, icon, "
                   "15 child windows) / NSIS wizard",
                   bench::Pairs(started[floorStart], started[nsisStart]));
    bench::TimeRow("Start-up: Setup.exe / the wizard's windows alone",
                   bench::Pairs(started[setupStart], started[floorStart]), ourStart);

    TInstallBench install(setupExe, hostExe, work);  // its first installation is untimed
    std::string baselineSilent;  // why the baseline build has no /S row (empty: it has)
    if (withBaseline) {
      install.Install(baselineExe);  // untimed, as ours
      baselineSilent = install.SilentRefusal(baselineExe);
      if (!baselineSilent.empty())
        std::fprintf(stderr, "note: the baseline build's /S %s: no /S for it\n", baselineSilent.c_str());
    }
    const std::wstring nsisHome = work + L"\\NSIS Home";
    TMeasures installs;
    const std::size_t ours = installs.Add([&] { return install.Install(setupExe); }),
                      baselineRun = withBaseline ? installs.Add([&] { return install.Install(baselineExe); })
                                                 : kNone,
                      copy12 = installs.Add([&] { return install.Copy(2); }),
                      silent = installs.Add([&] { return install.Silent(setupExe); }),
                      baselineSilentRun = withBaseline && baselineSilent.empty()
                                              ? installs.Add([&] { return install.Silent(baselineExe); })
                                              : kNone,
                      nsisFull = installs.Add([&] { return SilentInstall(nsisExe, nsisHome, true); }),
                      nsisEmpty = installs.Add([&] { return SilentInstall(nsisEmptyExe, nsisHome, false); }),
                      copy6 = installs.Add([&] { return install.Copy(1); });
    const auto ran = bench::Rounds(installRounds, installs.list);
    bench::TimeRow(
        "Installation run: Next on Ready to Finish page painted / CopyFileW of the 12 files",
        bench::Pairs(ran[ours], ran[copy12]), againstBuild(ran, ours, baselineRun));
    const auto ourSilent = againstBuild(ran, silent, baselineSilentRun);
    bench::TimeRow("Silent install (Setup.exe /S, fresh): process start to exit / NSIS /S of the same 6 files",
                   bench::Pairs(ran[silent], ran[nsisFull]), ourSilent);
    bench::TimeRow("Silent install (Setup.exe /S, fresh): process start to exit / CopyFileW of the 6 files",
                   bench::Pairs(ran[silent], ran[copy6]), ourSilent);
    bench::TimeRow("NSIS silent install (/S, fresh): process start to exit / CopyFileW of its 6 files",
                   bench::Pairs(ran[nsisFull], ran[copy6]));
    std::vector<double> extraction;
    for (std::size_t i = 0; i < ran[nsisFull].size(); ++i)
      extraction.push_back(ran[nsisFull][i] - ran[nsisEmpty][i]);
    bench::TimeRow(
        "NSIS extraction: silent install less the same without the files / CopyFileW of its 6 files",
        bench::Pairs(extraction, ran[copy6]));
  });
  RemoveTree(work);
  return result;
}
