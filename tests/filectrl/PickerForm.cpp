#include "tests/filectrl/PickerForm.h"

#include "ui/Application.h"
#include "instutils/FormatText.h"

TPickerForm::TPickerForm(int listHeight) {
  RegisterHandler("DestDirLstBxChange", &TPickerForm::DestDirLstBxChange);
  RegisterField("DestDirLstBx", DestDirLstBx);
  RegisterField("DestDirCmbBx", DestDirCmbBx);
  const std::string layout = inst::FormatText(R"(object PickerForm: TPickerForm
  Left = 40
  Top = 40
  ClientWidth = 367
  ClientHeight = %s
  Caption = 'Folder picker'
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
  LoadLayoutText(layout, "picker form");
}

void TPickerForm::DestDirLstBxChange(ui::TControl* sender) {
  ++Changes;
  LastSender = sender;
}

bool PumpUntil(const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > 5000) return false;
    ui::Application.ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}
