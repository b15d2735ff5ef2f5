#include "filectrl/DriveComboBox.h"

#include <algorithm>

#include "filectrl/DirectoryListBox.h"
#include "filectrl/DriveNames.h"
#include "filectrl/NameCase.h"
#include "ui/LayoutReader.h"

namespace filectrl {
namespace {

constexpr int kPictureLeft = 2;
constexpr int kTextGap = 6;

}  // namespace

TDriveComboBox::TDriveComboBox(ui::TWinControl* parent)
    : ui::TOwnerDrawList(parent, ui::TListStyle::DropDownList),
      fixedDrive_("FIXEDDRIVE"),
      externalDrive_("REMOVABLEDRIVE") {
  SetItemHeight(std::max(int(FontMetrics().tmHeight) + Scale(4), fixedDrive_.Height()));
}

TDriveComboBox::~TDriveComboBox() {
  // The folder tree list must not call a drive list that is gone.
  if (dirList_) dirList_->driveList_ = nullptr;
}

void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
  if (dirList_) dirList_->driveList_ = nullptr;
  dirList_ = list;
  if (dirList_) {
    if (dirList_->driveList_ && dirList_->driveList_ != this) dirList_->driveList_->dirList_ = nullptr;
    dirList_->driveList_ = this;
  }
}

void TDriveComboBox::RefillDrives() {
  ClearItems();
  driveMask_ = GetLogicalDrives();
  for (const DriveEntry& drive : ListedDrives(driveMask_))
    AddItem(drive.text, drive.external ? &externalDrive_ : &fixedDrive_);
}

void TDriveComboBox::SelectDrive(char letter) {
  if (ItemIndex() >= 0 && SameLetter(letter, selectedDrive_)) return;
  selectedDrive_ = StoredDriveLetter(letter);
  for (int i = 0; i < ItemCount(); ++i) {
    const std::string& text = ItemText(i);
    if (text.size() >= 2 && SameLetter(text[0], selectedDrive_) && text[1] == ':') {
      SetItemIndex(i);
      break;
    }
  }
  if (dirList_) dirList_->FollowDrive(selectedDrive_);
  NotifyChange();
}

void TDriveComboBox::CreateWnd() {
  ui::TOwnerDrawList::CreateWnd();
  RefillDrives();
  SelectDrive(selectedDrive_);
}

void TDriveComboBox::SelectionChanged() {
  const int index = ItemIndex();
  if (index >= 0 && !ItemText(index).empty()) SelectDrive(ItemText(index)[0]);
}

void TDriveComboBox::ChangeScale() {
  fixedDrive_.SetDpi(Dpi());
  externalDrive_.SetDpi(Dpi());
  ui::TOwnerDrawList::ChangeScale();
}

void TDriveComboBox::DrawItem(HDC dc, int index, const RECT& rect) {
  // Always the window's own colours: the selected drive is never shown highlighted (the
  // list restores the context's colours after the item).
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  RECT textRect = rect;
  if (const auto* bitmap = static_cast<const TResourceBitmap*>(ItemObject(index))) {
    bitmap->Draw(dc, rect.left + Scale(kPictureLeft), (rect.top + rect.bottom - bitmap->Height()) / 2);
    textRect.left += bitmap->Width() + Scale(kTextGap);
  }
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  std::string text = ItemText(index);
  DrawTextA(dc, text.data(), int(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

bool TDriveComboBox::SetProperty(const std::string& name, const ui::TLayoutValue& value,
                                 ui::TLayoutReader& reader) {
  if (name == "DirList") {
    reader.ResolveLater<TDirectoryListBox>(value, [this](TDirectoryListBox* list) { SetDirList(list); });
    return true;
  }
  return ui::TOwnerDrawList::SetProperty(name, value, reader);
}

}  // namespace filectrl
