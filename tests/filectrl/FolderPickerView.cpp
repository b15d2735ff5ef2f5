// Shows the folder picker form with the drive list dropped down, for looking at it:
//   filectrl_view.exe [folder] [seconds]
// The form closes itself after the given seconds (default 30).
#include <windows.h>

#include <string>

#include "Application.h"
#include "FileCtrlClasses.h"
#include "InstUtils.h"
#include "PickerForm.h"

namespace {

class TViewForm : public TPickerForm {
 public:
  void CloseAfter(int seconds) { SetTimer(Handle(), 1, seconds * 1000, nullptr); }

 protected:
  void WMTimer(UINT_PTR) override { SetModalResult(ui::mrOk); }
};

}  // namespace

int main(int argc, char** argv) {
  inst::InitializeInstUtils();
  filectrl::RegisterFileCtrlClasses();
  {
    TViewForm form;
    form.DestDirLstBx->ShowFolder(argc > 1 ? argv[1] : inst::GetSpecialFolder(38));
    form.CloseAfter(argc > 2 ? std::stoi(argv[2]) : 30);
    PostMessageA(form.DestDirCmbBx->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    form.ShowModal();
  }
  inst::FinalizeInstUtils();
  return 0;
}
