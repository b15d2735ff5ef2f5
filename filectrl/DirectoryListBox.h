// The folder tree list: one path shown as an indented chain of open folders from the
// drive root down to the current folder, followed by the current folder's sub-folders.
// Selecting an item opens that folder at once; every change of the current folder is
// reported through OnChange. The list never changes the process's current folder.
#pragma once

#include <string>

#include "filectrl/ResourceBitmap.h"
#include "ui/OwnerDrawList.h"

namespace filectrl {

class TDriveComboBox;

class TDirectoryListBox : public ui::TOwnerDrawList {
 public:
  explicit TDirectoryListBox(ui::TWinControl* parent);
  ~TDirectoryListBox() override;
  const char* ClassName() const override { return "TDirectoryListBox"; }

  // Makes the path, or its nearest existing ancestor, the current folder. An empty path,
  // the current folder itself, or a path without a drive letter or network share (such as
  // "\foo" or "foo") changes nothing.
  void ShowFolder(std::string path);
  // Moves to drive `letter` (the host folder under Program Files, else the same path on
  // that drive, else its root). Called by the linked drive list when its drive changes.
  void FollowDrive(char letter);
  // Rebuilds the items around TreeFolder; without the list's window, only when it is made.
  virtual void BuildTree();

  // The current folder; empty while no folder has been shown yet.
  const std::string& TreeFolder() const { return treeFolder_; }
  TDriveComboBox* DriveList() const { return driveList_; }
  bool KeepsCase() const { return keepsCase_; }
  bool DistinguishesCase() const { return distinguishesCase_; }
  // The text as the list shows it: lower case on a volume that keeps no case.
  std::string CaseForDisplay(const std::string& text) const;
  // Whether two paths name the same folder on the volume of TreeFolder.
  bool SameFolder(const std::string& a, const std::string& b) const;

 protected:
  // After the window exists: the items, with the current folder selected.
  void CreateWnd() override;
  // The pictures follow the DPI too.
  void ChangeScale() override;
  void DrawItem(HDC dc, int index, const RECT& rect) override;
  void SelectionChanged() override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class TDriveComboBox;  // sets and clears the link to itself

  void ReadVolumeCase();
  void OpenSelectedFolder();

  TDriveComboBox* driveList_ = nullptr;
  bool showingFolder_ = false;  // ShowFolder is handing a drive change on
  bool keepsCase_ = true;
  bool distinguishesCase_ = false;
  TResourceBitmap closedFolder_;
  TResourceBitmap openFolder_;
  std::string treeFolder_;  // no folder yet: empty
  bool openOnRelease_ = false;  // a mouse selection waits for the button's release
};

}  // namespace filectrl
