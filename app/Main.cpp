// The entry sequence: the options are taken out of the command line and the language is
// chosen, the payload store starts inflating, then either the help box, the unattended
// installation (/S), or the wizard: the wizard form is created, the wizard runs as one
// modal dialog, the settings are saved when an installation was started, and both objects
// are freed, the form first, because it uses the store to the end. The setup log (/LOG=)
// is written last, with the exit code.
#include <windows.h>

#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "filectrl/FileCtrlClasses.h"
#include "instutils/Handles.h"
#include "instutils/InstUtils.h"
#include "instutils/Language.h"
#include "instutils/SetupMessage.h"
#include "instutils/SystemLibrary.h"
#include "payload/AttachFiles.h"
#include "resources/SetupResources.h"
#include "ui/Application.h"
#include "ui/LayoutClasses.h"
#include "wizard/CommandLine.h"
#include "wizard/Installation.h"
#include "wizard/MainDlg.h"
#include "wizard/SetupLog.h"

namespace {

// The one store of the process. The payload is inflated on a thread of its own from the
// start, while this thread starts OLE and the window system; the entry sequence takes the
// store where it needs it, waiting for the inflation if it is not done, and a damaged
// payload is thrown there. Until then this thread uses nothing the inflation touches (the
// program's function-local statics are not guarded for threads). Freed (and the program's
// temporary files swept) on destruction.
class TProcessStore {
 public:
  TProcessStore() : thread_(CreateThread(nullptr, 0, &TProcessStore::Inflate, this, 0, nullptr)) {
    if (!thread_) Inflate(this);
  }
  ~TProcessStore() {
    if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
    store_.reset();
    payload::AttachedFiles = nullptr;
  }
  TProcessStore(const TProcessStore&) = delete;
  TProcessStore& operator=(const TProcessStore&) = delete;

  void Open() {
    if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
    if (failure_) std::rethrow_exception(failure_);
    payload::AttachedFiles = store_.get();
  }

 private:
  static DWORD WINAPI Inflate(void* self) {
    auto& store = *static_cast<TProcessStore*>(self);
    try {
      store.store_ = std::make_unique<payload::TAttachedFiles>();
    } catch (...) {
      store.failure_ = std::current_exception();
    }
    return 0;
  }

  std::unique_ptr<payload::TAttachedFiles> store_;
  std::exception_ptr failure_;
  inst::UniqueHandle thread_;  // last: the thread starts once the fields above exist
};

int RunWizard(const wizard::TCommandLine& commandLine, TProcessStore& store) {
  // The classes the wizard's layout names: the ten standard controls, the drive list and
  // the folder tree list. The wizard's window, which stands for the program on the
  // taskbar, carries the setup title as its caption.
  ui::RegisterStandardLayoutClasses();
  filectrl::RegisterFileCtrlClasses();
  ui::Application.SetIconResource(GetModuleHandleA(nullptr), SETUP_ICON_ID);

  store.Open();
  auto form = std::make_unique<wizard::TMainDlgForm>(commandLine);
  form->ShowModal();
  if (inst::InstallStarted) form->SaveSettings();
  return 0;
}

int RunUnattended(const wizard::TCommandLine& commandLine, TProcessStore& store) {
  store.Open();
  return wizard::InstallUnattended(commandLine);
}

int Run(const wizard::TCommandLine& options, TProcessStore* store) {
  if (options.help) {
    inst::SetupMessage(inst::Localized(wizard::kOptionsHelpText), inst::TDialogKind::Information,
                       inst::buttons::OK);
    wizard::Log("Help shown; nothing installed");
    return 0;
  }
  // Unattended, no box is ever shown: every question gets the answer that loses nothing.
  inst::SetUnattended(options.silent);
  return options.silent ? RunUnattended(options, *store) : RunWizard(options, *store);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Before anything else is loaded: DLLs come from the system folder only.
  inst::RestrictDllSearchToSystemFolder();
  const wizard::TCommandLine options = wizard::ReadCommandLine();
  // Before the first text is shown: every window and box speaks the one language.
  inst::SetLanguage(options.language.value_or(inst::DisplayLanguage()));
  // The payload inflates while OLE and the rest start (the help box needs no store).
  std::optional<TProcessStore> store;
  if (!options.help) store.emplace();
  inst::InitializeInstUtils();
  wizard::TSetupLog log;
  if (options.hasLog) {
    wizard::SetupLog = &log;
    // The log never replaces the records the word processor reads.
    const std::string sharedData = inst::SharedDataFolder();
    wizard::ProtectFromLog(wizard::InstallStampPath(sharedData));
    wizard::ProtectFromLog(wizard::UpdateLogPath(sharedData));
  }
  wizard::Log("Zentrova Latvian Spellchecker setup, version " + wizard::ProgramVersion());
  wizard::Log(L"Command line: " + options.typed);
  wizard::Log(options.silent ? "Mode: unattended (/S)" : "Mode: wizard");
  int exitCode = 0;
  try {
    exitCode = Run(options, store ? &*store : nullptr);
  } catch (const std::exception& error) {
    wizard::Log(std::string("Could not start: ") + error.what());
    inst::SetupMessage(inst::UserText(error), inst::TDialogKind::Error, inst::buttons::OK);
    exitCode = wizard::kExitCannotStart;
  }
  store.reset();  // the form is gone: the store goes, and with it the temporary files
  wizard::Log("Exit code: " + std::to_string(exitCode));
  // A log that cannot be written changes nothing: the outcome stands.
  if (options.hasLog && !options.logPath.empty()) log.Save(options.logPath);
  wizard::SetupLog = nullptr;
  inst::FinalizeInstUtils();
  return exitCode;
}
