// The entry sequence: the payload store and the wizard form are created, the wizard runs
// as one modal dialog, the settings are saved when an installation was started, and both
// objects are freed, the form first, because it uses the store to the end.
#include <windows.h>

#include <exception>
#include <memory>

#include "filectrl/FileCtrlClasses.h"
#include "instutils/InstUtils.h"
#include "instutils/SetupMessage.h"
#include "instutils/SystemLibrary.h"
#include "payload/AttachFiles.h"
#include "resources/SetupResources.h"
#include "ui/Application.h"
#include "ui/LayoutClasses.h"
#include "wizard/MainDlg.h"

namespace {

void RunSetup() {
  // The classes the wizard's layout names: the ten standard controls, the drive list and
  // the folder tree list. The wizard's window, which stands for the program on the
  // taskbar, carries the setup title as its caption.
  ui::RegisterStandardLayoutClasses();
  filectrl::RegisterFileCtrlClasses();
  ui::Application.SetIconResource(GetModuleHandleA(nullptr), SETUP_ICON_ID);

  auto store = std::make_unique<payload::TAttachedFiles>();
  payload::AttachedFiles = store.get();
  auto form = std::make_unique<wizard::TMainDlgForm>();
  form->ShowModal();
  if (inst::InstallStarted) form->SaveSettings();
  form.reset();
  store.reset();  // sweeps the program's temporary files
  payload::AttachedFiles = nullptr;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything else is loaded: DLLs come from the system folder only.
  inst::RestrictDllSearchToSystemFolder();
  inst::InitializeInstUtils();
  int exitCode = 0;
  try {
    RunSetup();
  } catch (const std::exception& error) {
    inst::SetupMessage(error.what(), inst::TDialogKind::Error, inst::buttons::OK);
    exitCode = 1;
  }
  inst::FinalizeInstUtils();
  return exitCode;
}
