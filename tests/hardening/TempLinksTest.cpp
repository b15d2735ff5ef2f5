// Links in the temporary folder, which every program of the user can write while Setup.exe
// runs with the highest rights the user has. The links are planted from the Unix side by
// temp-links.sh (a ctest fixture, see CMakeLists.txt): a folder link carrying the program's
// prefix, a link inside a prefixed folder tree, and a link to nowhere at the first
// temporary name. Nothing is ever written or deleted through them.
#include <windows.h>

#include <string>

#include "tests/hardening/Hardening.h"

namespace e2e {
namespace {

using testkit::FileExists;

const std::string kPlanted = "C:\\temp-links\\";

class TempLinksTest : public WizardTest {
 protected:
  // The logos and then the licence go through temporary files; Cancel ends the run.
  static void RunToTheLicencePageAndCancel() {
    TSetupRun run;
    ASSERT_NE(run.Form(), nullptr);  // no box about the logos' file
    run.Next();
    ASSERT_TRUE(run.WaitForTitle(L"License Agreement"));
    run.Cancel();
    const auto box = Box(run);
    ASSERT_TRUE(box.has_value());
    testkit::PressButton(box->window, IDYES);
    EXPECT_EQ(run.WaitForExit(), 0u);
  }

  testkit::TTempEnvironment plantedTemp_{kPlanted + "temp"};
};

TEST_F(TempLinksTest, NeitherTheTemporaryFilesNorTheSweepGoThroughALink) {
  const std::string prefixed = kPlanted + "temp\\~ZentrovaLatvianSpellcheckerSetup";
  ASSERT_TRUE(FileExists(kPlanted + "target\\keep.txt")) << "run by the temp_links fixture";
  ASSERT_EQ(GetFileAttributesA((prefixed + "Link").c_str()),
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
  // A file written through the link to nowhere would be deleted through it again, so watch
  // the folder it points into instead of looking for the file afterwards.
  HANDLE outside = FindFirstChangeNotificationA((kPlanted + "outside").c_str(), FALSE,
                                                FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(outside, INVALID_HANDLE_VALUE);
  RunToTheLicencePageAndCancel();
  const DWORD changed = WaitForSingleObject(outside, 0);
  FindCloseChangeNotification(outside);
  EXPECT_EQ(changed, static_cast<DWORD>(WAIT_TIMEOUT))
      << "a file came and went where the link to nowhere points";
  EXPECT_TRUE(FileExists(kPlanted + "target\\keep.txt"));
  EXPECT_TRUE(FileExists(kPlanted + "inner-target\\keep.txt"));
  EXPECT_FALSE(FileExists(prefixed + ".old\\inner\\own.txt"));  // the tree itself is swept
}

}  // namespace
}  // namespace e2e
