// A small form holding the folder tree list and the drive list, linked as on the
// home-folder page, built from a layout like the wizard's.
#pragma once

#include "ui/Form.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"

class TPickerForm : public ui::TForm {
 public:
  // listHeight: the folder list's height (the wizard's is 157).
  explicit TPickerForm(int listHeight = 157);

  void DestDirLstBxChange(ui::TControl* sender);

  filectrl::TDirectoryListBox* DestDirLstBx = nullptr;
  filectrl::TDriveComboBox* DestDirCmbBx = nullptr;
  int Changes = 0;  // OnChange of the folder list
  ui::TControl* LastSender = nullptr;
};

// Handles waiting messages until done() is true or about five seconds have passed.
bool PumpUntil(const std::function<bool()>& done);
