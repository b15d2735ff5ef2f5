#include "tests/filectrl/FileCtrlForm.h"

#include "instutils/FormatText.h"

TFileCtrlForm::TFileCtrlForm(int listHeight) {
  RegisterHandler("DestDirLstBxChange", &TFileCtrlForm::DestDirLstBxChange);
  RegisterField("DestDirLstBx", DestDirLstBx);
  RegisterField("DestDirCmbBx", DestDirCmbBx);
  const std::string layout = inst::FormatText(R"(object FileCtrlForm: TFileCtrlForm
  Left = 40
  Top = 40
  ClientWidth = 367
  ClientHeight = %s
  Caption = 'Drive list and folder tree list'
  object DestDirLstBx: TDirectoryListBox
    Left = 11
    Top = 8
    Width = 345
    Height = %s
    ItemHeight = 17
    OnChange = DestDirLstBxChange
  end
  object DestDirCmbBx: TDriveComboBox
    Left = 11
    Top = %s
    Width = 345
    Height = 19
    DirList = DestDirLstBx
  end
end
)",
      {std::to_string(listHeight + 40), std::to_string(listHeight), std::to_string(listHeight + 11)});
  LoadLayoutText(layout, "file control form");
}

void TFileCtrlForm::DestDirLstBxChange(ui::TControl* sender) {
  ++Changes;
  LastSender = sender;
}

bool PumpUntil(const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (!done()) {
    if (GetTickCount() - start > 5000) return false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}
