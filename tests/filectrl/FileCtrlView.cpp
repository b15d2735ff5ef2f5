// Shows the drive list and the folder tree list, the drive list dropped down, to look at:
//   filectrl_view.exe [folder] [seconds]
// The form closes itself after the given seconds (default 30).
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "filectrl/FileCtrlClasses.h"
#include "instutils/InstUtils.h"
#include "tests/filectrl/FileCtrlForm.h"
#include "ui/Application.h"

namespace {

class TViewForm : public TFileCtrlForm {
 public:
  // Drops the drive list down once the form is on the screen, and closes it later.
  void CloseAfter(int seconds) {
    SetTimer(Handle(), kDropDown, 500, nullptr);
    SetTimer(Handle(), kClose, seconds * 1000, nullptr);
  }

 protected:
  void WMTimer(UINT_PTR id) override {
    if (id == kClose) SetModalResult(ui::mrOk);
    if (id != kDropDown) return;
    KillTimer(Handle(), kDropDown);
    SendMessageA(DestDirCmbBx->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  }

 private:
  static constexpr UINT_PTR kDropDown = 1, kClose = 2;
};

}  // namespace

int main(int argc, char** argv) {
  inst::InitializeInstUtils();
  filectrl::RegisterFileCtrlClasses();
  {
    TViewForm form;
    form.DestDirLstBx->ShowFolder(argc > 1 ? argv[1] : inst::GetSpecialFolder(CSIDL_PROGRAM_FILES));
    form.CloseAfter(argc > 2 ? std::stoi(argv[2]) : 30);
    form.ShowModal();
  }
  inst::FinalizeInstUtils();
  return 0;
}
