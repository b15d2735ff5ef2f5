// Setup.exe run from a folder that also holds copies of system DLLs, as a downloads folder
// may after a drive-by download: the program must run none of them. Each planted DLL leaves
// "<name>.dll.loaded" beside itself when its start-up code runs; a program that loads the
// same names the ordinary way is the control that shows the markers do appear.
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/common/TestProcess.h"
#include "tests/e2e/WizardFixture.h"

namespace e2e {
namespace {

// The copies in the downloads folder, named apart from every other program of the tests,
// since Wine keeps DLL preferences per program name.
const char kSetupCopy[] = "LatvianSpellcheckerSetup.exe";
const char kLoaderCopy[] = "PlantLoader.exe";

std::vector<std::string> PlantedNames() {
  std::vector<std::string> names;
  std::stringstream list(PLANTED_NAMES);
  for (std::string name; std::getline(list, name, ',');) names.push_back(name);
  return names;
}

// Makes Wine prefer a DLL file on the search path to its built-in copy, for the named DLLs
// in the named program, as long as the owner lives.
class TPreferDllFiles {
 public:
  TPreferDllFiles(const std::string& program, const std::vector<std::string>& dlls)
      : key_("Software\\Wine\\AppDefaults\\" + program) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      ADD_FAILURE() << "cannot set Wine's DLL preferences";
      return;
    }
    for (const std::string& dll : dlls)
      RegSetValueExA(key, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    RegCloseKey(key);
  }
  ~TPreferDllFiles() { RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }
  TPreferDllFiles(const TPreferDllFiles&) = delete;
  TPreferDllFiles& operator=(const TPreferDllFiles&) = delete;

 private:
  std::string key_;
};

class DllPlantingTest : public WizardTest {
 protected:
  DllPlantingTest() {
    downloads_ = folder_.MakeFolder("Downloads") + "\\";
    for (const std::string& name : PlantedNames())
      EXPECT_TRUE(CopyFileA((WinePath(PLANTED_FOLDER) + "\\" + name + ".dll").c_str(),
                            (downloads_ + name + ".dll").c_str(), FALSE))
          << name;
    EXPECT_TRUE(CopyFileA(Built.setupExe.c_str(), (downloads_ + kSetupCopy).c_str(), FALSE));
    EXPECT_TRUE(CopyFileA(WinePath(NAIVE_LOADER).c_str(), (downloads_ + kLoaderCopy).c_str(), FALSE));
  }

  // The planted DLLs whose start-up code has run, and their markers removed again.
  std::vector<std::string> TakeMarkers(const std::vector<std::string>& names = PlantedNames()) {
    std::vector<std::string> loaded;
    for (const std::string& name : names) {
      const std::string marker = downloads_ + name + ".dll.loaded";
      if (!testkit::FileExists(marker)) continue;
      loaded.push_back(name);
      DeleteFileA(marker.c_str());
    }
    return loaded;
  }

  // Setup.exe from the downloads folder, which is also its current folder, through every
  // page that loads a DLL of its own accord (page control, shell folders, drive names),
  // then cancelled.
  void RunSetupAndCancel() {
    TSetupRun run(L"", downloads_ + kSetupCopy, downloads_);
    WalkToHomePage(run);
    run.Cancel();
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value());
    testkit::PressButton(box->window, IDYES);
    EXPECT_EQ(run.WaitForExit(), 0u);
  }

  void RunNaiveLoader(const std::vector<std::string>& names) {
    std::string command = "\"" + downloads_ + kLoaderCopy + "\"";
    for (const std::string& name : names) command += " " + name + ".dll";
    const testkit::TProcess loader(command, downloads_);
    ASSERT_TRUE(loader.Started());
    EXPECT_NE(loader.WaitForExit(30000), STILL_ACTIVE);
  }

  std::string downloads_;
};

TEST_F(DllPlantingTest, NoneRunsUnderTheSystemsOwnLoadOrder) {
  RunSetupAndCancel();
  EXPECT_EQ(TakeMarkers(), std::vector<std::string>{});

  RunNaiveLoader(PlantedNames());
  EXPECT_NE(TakeMarkers(), std::vector<std::string>{}) << "the control loaded no planted DLL";
}

// Wine prefers its own built-in copies of most system DLLs wherever a file of that name lies,
// so the test above cannot see a load from the wrong folder. Told to prefer DLL files, Wine
// takes the first file on the search path, as Windows does for DLLs that are not known DLLs:
// then only the program's restriction to the system folder keeps the planted ones out.
// version.dll and msimg32.dll stay out of this list: Wine's own user32 imports version.dll
// while the process starts, before any code of the program runs, and Wine's uxtheme
// delay-loads msimg32.dll; Wine resolves both through the program's folder regardless of
// the program's search restriction (on Windows the first is confined to the known DLLs and
// the second obeys the restriction).
TEST_F(DllPlantingTest, DllsTheProgramLoadsComeFromTheSystemFolderEvenWhenFilesWouldWin) {
  const std::vector<std::string> names = {"comctl32", "dwmapi", "mpr", "shfolder", "uxtheme"};
  TPreferDllFiles setupPrefersFiles(kSetupCopy, names), loaderPrefersFiles(kLoaderCopy, names);
  RunSetupAndCancel();
  EXPECT_EQ(TakeMarkers(), std::vector<std::string>{});

  RunNaiveLoader(names);
  EXPECT_EQ(TakeMarkers(names), names) << "the control did not load every planted DLL";
}

}  // namespace
}  // namespace e2e
