// The drive list: the drives C: to Z: on which the host could live (no optical drives),
// each with its picture and label in lower case, linked both ways to a folder tree list
// that follows the drive the user picks.
#pragma once

#include <windows.h>

#include "filectrl/ResourceBitmap.h"
#include "ui/OwnerDrawList.h"

namespace filectrl {

class TDirectoryListBox;

class TDriveComboBox : public ui::TOwnerDrawList {
 public:
  explicit TDriveComboBox(ui::TWinControl* parent);
  ~TDriveComboBox() override;
  const char* ClassName() const override { return "TDriveComboBox"; }

  // The linked folder tree list; linking sets its back-reference, and the previous
  // list's is cleared.
  TDirectoryListBox* DirList() const { return dirList_; }
  void SetDirList(TDirectoryListBox* list);

  // Refills the items from the system's drives and remembers their mask in DriveMask.
  // Afterwards no item is selected.
  void RefillDrives();
  // Selects the drive `letter`, moves the linked list to it and raises OnChange (once,
  // also for the user's pick); nothing happens when it is already the selected drive.
  void SelectDrive(char letter);

  // The selected drive letter in lower case; NUL before the window exists, then a blank
  // until a drive is selected.
  char SelectedDrive() const { return selectedDrive_; }
  // The logical-drive mask read by the last RefillDrives; 0 before the first.
  DWORD DriveMask() const { return driveMask_; }

  bool SetProperty(const std::string& name, const ui::TLayoutValue& value, ui::TLayoutReader& reader) override;

 protected:
  // After the window exists: the drives, then the drive chosen so far.
  void CreateWnd() override;
  // The pictures follow the DPI too.
  void ChangeScale() override;
  void DrawItem(HDC dc, int index, const RECT& rect) override;
  void SelectionChanged() override;

 private:
  friend class TDirectoryListBox;  // clears the link when it goes first

  TDirectoryListBox* dirList_ = nullptr;
  char selectedDrive_ = '\0';
  TResourceBitmap fixedDrive_;
  TResourceBitmap externalDrive_;
  DWORD driveMask_ = 0;
};

}  // namespace filectrl
