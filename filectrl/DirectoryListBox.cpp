#include "filectrl/DirectoryListBox.h"

#include <shlobj.h>

#include <algorithm>

#include "filectrl/DriveComboBox.h"
#include "filectrl/FolderPaths.h"
#include "filectrl/NameCase.h"
#include "instutils/CriticalErrorsSuppressed.h"
#include "instutils/InstUtils.h"

namespace filectrl {
namespace {

constexpr int kIndentStep = 12;
constexpr int kIndentMargin = 3;
constexpr int kPictureWidth = 16;
constexpr int kTextGap = 4;

// Redrawing of the list stays suspended for the owner's lifetime.
class TUpdateSuspended {
 public:
  explicit TUpdateSuspended(ui::TOwnerDrawList& list) : list_(list) { list_.BeginUpdate(); }
  ~TUpdateSuspended() { list_.EndUpdate(); }
  TUpdateSuspended(const TUpdateSuspended&) = delete;
  TUpdateSuspended& operator=(const TUpdateSuspended&) = delete;

 private:
  ui::TOwnerDrawList& list_;
};

// Sets a flag for the owner's lifetime; clears it also when an exception passes.
class TFlagSet {
 public:
  explicit TFlagSet(bool& flag) : flag_(flag) { flag_ = true; }
  ~TFlagSet() { flag_ = false; }
  TFlagSet(const TFlagSet&) = delete;
  TFlagSet& operator=(const TFlagSet&) = delete;

 private:
  bool& flag_;
};

bool IsBlankOrControl(char letter) { return static_cast<unsigned char>(letter) <= ' '; }

}  // namespace

TDirectoryListBox::TDirectoryListBox(ui::TWinControl* parent)
    : ui::TOwnerDrawList(parent, ui::TListStyle::ListBox),
      closedFolder_("CLOSEDFOLDER"),
      openFolder_("OPENFOLDER") {
  SetItemHeight(std::max(int(FontMetrics().tmHeight), openFolder_.Height() + Scale(1)));
}

TDirectoryListBox::~TDirectoryListBox() {
  // The drive list must not call a list that is gone.
  if (driveList_) driveList_->dirList_ = nullptr;
}

std::string TDirectoryListBox::CaseForDisplay(const std::string& text) const {
  return keepsCase_ || distinguishesCase_ ? text : LowerCaseText(text);
}

bool TDirectoryListBox::SameFolder(const std::string& a, const std::string& b) const {
  const auto equal = [](const std::string& x, const std::string& y) {
    return CompareStringA(LOCALE_USER_DEFAULT, 0, x.c_str(), -1, y.c_str(), -1) == CSTR_EQUAL;
  };
  return distinguishesCase_ ? equal(a, b) : equal(LowerCaseFileName(a), LowerCaseFileName(b));
}

void TDirectoryListBox::ShowFolder(std::string path) {
  if (path.empty() || SameFolder(path, treeFolder_)) return;
  path = NearestExistingFolder(std::move(path));
  if (path.empty()) return;
  const bool otherDrive = treeFolder_.empty() || !SameLetter(path[0], treeFolder_[0]);
  treeFolder_ = std::move(path);
  if (otherDrive) {
    const TFlagSet showing(showingFolder_);
    if (driveList_)
      driveList_->SelectDrive(treeFolder_[0]);
    else
      FollowDrive(treeFolder_[0]);
  }
  BuildTree();
  NotifyChange();
}

void TDirectoryListBox::FollowDrive(char letter) {
  if (IsBlankOrControl(letter) || (!treeFolder_.empty() && SameLetter(letter, treeFolder_[0]))) return;
  treeFolder_ = FolderOnDrive(letter, treeFolder_, inst::GetSpecialFolder(CSIDL_PROGRAM_FILES));
  if (showingFolder_) return;
  BuildTree();
  NotifyChange();
}

void TDirectoryListBox::ReadVolumeCase() {
  const std::string root = inst::DrivePart(treeFolder_) + "\\";
  DWORD flags = 0;
  const inst::TCriticalErrorsSuppressed quiet;
  if (!GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0)) {
    // Unknown volume: show names as they are stored and compare them ignoring case.
    keepsCase_ = true;
    distinguishesCase_ = false;
    return;
  }
  keepsCase_ = (flags & (FS_CASE_SENSITIVE | FS_CASE_IS_PRESERVED)) != 0;
  distinguishesCase_ = (flags & FS_CASE_SENSITIVE) != 0;
}

void TDirectoryListBox::BuildTree() {
  const TUpdateSuspended suspended(*this);
  ClearItems();
  // A list without its window is filled when the window is made: the folders are read
  // once, as they are then, and the start does not wait for a page not shown yet.
  if (treeFolder_.empty() || !HandleAllocated()) return;
  ReadVolumeCase();
  for (const std::string& folder : AncestorChain(treeFolder_)) AddItem(folder, &openFolder_);
  const int current = ItemCount() - 1;
  std::string parent = treeFolder_;
  inst::IncludeBackslash(parent);
  for (const std::string& name : SubFolderNames(treeFolder_)) AddItem(parent + name, &closedFolder_);
  SetItemIndex(current);
}

void TDirectoryListBox::CreateWnd() {
  ui::TOwnerDrawList::CreateWnd();
  BuildTree();
  if (ItemCount() > 0) SetItemIndex(FolderDepth(treeFolder_));
}

void TDirectoryListBox::ChangeScale() {
  closedFolder_.SetDpi(Dpi());
  openFolder_.SetDpi(Dpi());
  ui::TOwnerDrawList::ChangeScale();
}

void TDirectoryListBox::DrawItem(HDC dc, int index, const RECT& rect) {
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  const int step = Scale(kIndentStep);
  int x = index * step + Scale(kIndentMargin);
  int w = Scale(kPictureWidth);
  if (const auto* bitmap = static_cast<const TResourceBitmap*>(ItemObject(index))) {
    if (bitmap == &closedFolder_) x = (FolderDepth(treeFolder_) + 1) * step + Scale(kIndentMargin);
    w = bitmap->Width();
    bitmap->Draw(dc, rect.left + x, rect.top + (rect.bottom - rect.top - bitmap->Height()) / 2);
  }
  const std::string& item = ItemText(index);
  const std::string text = CaseForDisplay(index == 0 ? item.substr(0, 2) : NamePart(item));
  SIZE letter{};
  GetTextExtentPoint32A(dc, "A", 1, &letter);
  TextOutA(dc, rect.left + x + w + Scale(kTextGap), rect.top + (rect.bottom - rect.top - letter.cy) / 2, text.c_str(),
           int(text.size()));
}

void TDirectoryListBox::SelectionChanged() {
  // A click opens its folder when the button comes up: the rebuilt list must not follow
  // the pointer while the button is still held.
  if (GetKeyState(VK_LBUTTON) < 0 && GetCapture() == Handle()) {
    openOnRelease_ = true;
    return;
  }
  OpenSelectedFolder();
}

LRESULT TDirectoryListBox::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ui::TOwnerDrawList::WndProc(msg, wParam, lParam);
  if ((msg == WM_LBUTTONUP || msg == WM_CAPTURECHANGED) && openOnRelease_) OpenSelectedFolder();
  return result;
}

void TDirectoryListBox::OpenSelectedFolder() {
  openOnRelease_ = false;
  const int index = ItemIndex();
  if (index >= 0) ShowFolder(ItemText(index));
}

}  // namespace filectrl
