// A small form holding the folder tree list and the drive list, linked as on the
// home-folder page, built from a layout like the wizard's.
#pragma once

#include "filectrl/DirectoryListBox.h"
#include "filectrl/DriveComboBox.h"
#include "ui/Form.h"

class TFileCtrlForm : public ui::TForm {
 public:
  // listHeight: the folder tree list's height (the wizard's is 157).
  explicit TFileCtrlForm(int listHeight = 157);

  void DestDirLstBxChange(ui::TControl* sender);

  filectrl::TDirectoryListBox* DestDirLstBx = nullptr;
  filectrl::TDriveComboBox* DestDirCmbBx = nullptr;
  int Changes = 0;  // OnChange of the folder tree list
  ui::TControl* LastSender = nullptr;
};

// Handles waiting messages until done() is true or about five seconds have passed.
bool PumpUntil(const std::function<bool()>& done);
