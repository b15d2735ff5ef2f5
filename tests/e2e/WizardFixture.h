// What every end-to-end test starts from: no saved settings, no shared module folder,
// a temporary folder of its own (inherited by Setup.exe), and a home folder holding the
// stand-in word processor. All of it is removed again afterwards.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/common/TestFolder.h"
#include "tests/common/WindowDriver.h"
#include "tests/e2e/SetupDriver.h"

namespace e2e {

inline constexpr char kSettingsKey[] = "Software\\Zentrova Word Processor\\Install";

// Whether the screen shows the carmine of the program's icon and logos somewhere in the
// area (screen coordinates) within a few seconds.
bool ShowsCarmine(const RECT& area);

class WizardTest : public ::testing::Test {
 protected:
  WizardTest();
  ~WizardTest() override;

 public:

  // A folder "Zentrova Home" below the test folder with qzv.exe in it.
  std::string MakeHome(const std::string& name = "Zentrova Home") const;
  // The shared data folder: C:\ProgramData\Zentrova (as the system names it).
  static std::string SharedZentrova();
  static void PutSetting(const char* name, DWORD type, const void* data, DWORD size);
  static bool HasSetting(const char* name);
  static std::string ReadMainDir();
  static DWORD ReadLaunch();
  // Files left in the temporary folder that Setup.exe was given.
  std::vector<std::string> TempLeftovers() const;

  // Welcome -> licence -> home folder page.
  static void WalkToHomePage(TSetupRun& run);
  // Welcome -> licence -> home folder (typed) -> ready.
  static void WalkToReady(TSetupRun& run, const std::string& home);
  // The next message box of the run's process, read.
  static std::optional<testkit::TMessageBox> Box(const TSetupRun& run);

  testkit::TTestFolder folder_;
  std::string temp_;

 private:
  testkit::TTempEnvironment* tempEnvironment_ = nullptr;
};

}  // namespace e2e
