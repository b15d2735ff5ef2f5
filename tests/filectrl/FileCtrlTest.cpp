// The folder tree list and the drive list in a real window on the test display, with
// real folders and the test prefix's drives (C: fixed, d: optical, e: removable labelled
// DATA, n: network).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "filectrl/FolderPaths.h"
#include "filectrl/ResourceBitmap.h"
#include "instutils/InstUtils.h"
#include "tests/common/TestFolder.h"
#include "tests/filectrl/FileCtrlForm.h"

using filectrl::TDirectoryListBox;
using filectrl::TDriveComboBox;
using filectrl::TResourceBitmap;

namespace {

std::vector<std::string> Items(TDirectoryListBox& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.ItemCount(); ++i) items.push_back(list.ItemText(i));
  return items;
}

std::vector<std::string> Items(TDriveComboBox& drives) {
  std::vector<std::string> items;
  for (int i = 0; i < drives.ItemCount(); ++i) items.push_back(drives.ItemText(i));
  return items;
}

std::string Upper(std::string text) {
  CharUpperBuffA(text.data(), DWORD(text.size()));
  return text;
}

// One shown form serves every case: without a window manager Wine waits two seconds for
// each top-level window that is hidden, so forms are not made and shown case by case.
class FileCtrlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    form_ = new TFileCtrlForm(340);
    form_->Show();
  }
  static void TearDownTestSuite() {
    delete form_;
    form_ = nullptr;
  }
  void SetUp() override {
    programFiles_ = root_.MakeFolder("Program Files");
    for (const char* name : {"gamma", "beta", "Alpha", "Hidden", "System"})
      root_.MakeFolder("Program Files\\" + std::string(name));
    SetFileAttributesA((root_ / "Program Files\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((root_ / "Program Files\\System").c_str(), FILE_ATTRIBUTE_SYSTEM);
    // The process's current folder is somewhere else; the controls must leave it there.
    SetCurrentDirectoryA(root_.Path().c_str());
    currentBefore_ = inst::CurrentFolder();
    list_ = form_->DestDirLstBx;
    drives_ = form_->DestDirCmbBx;
    drives_->OnChange = nullptr;
    form_->Changes = 0;
  }
  void TearDown() override {
    EXPECT_EQ(inst::CurrentFolder(), currentBefore_);
    SetCurrentDirectoryA("C:\\");
  }

  // Where the list's item i is on the screen, and its rectangle in the list.
  RECT ItemRect(int i) {
    RECT r{};
    SendMessageA(list_->Handle(), LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  void ClickItem(int i) {
    const RECT r = ItemRect(i);
    POINT p{r.left + 60, (r.top + r.bottom) / 2};
    ClientToScreen(list_->Handle(), &p);
    SetForegroundWindow(form_->Handle());
    SetCursorPos(p.x, p.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
  }

  static TFileCtrlForm* form_;
  testkit::TTestFolder root_;
  std::string programFiles_;  // a folder of that name in the test's own folder
  std::string currentBefore_;
  TDirectoryListBox* list_ = nullptr;
  TDriveComboBox* drives_ = nullptr;
};

TFileCtrlForm* FileCtrlTest::form_ = nullptr;

}  // namespace

TEST_F(FileCtrlTest, AMissingTailShowsTheNearestExistingFolderWithItsSortedVisibleSubFolders) {
  list_->ShowFolder(programFiles_ + "\\Zentrova\\Spellcheck\\x");

  EXPECT_EQ(list_->TreeFolder(), programFiles_ + "\\");
  auto expected = filectrl::AncestorChain(programFiles_);
  const int k = int(expected.size()) - 1;
  ASSERT_EQ(k, filectrl::FolderDepth(programFiles_));
  EXPECT_EQ(expected.front(), "C:\\");
  for (const char* name : {"Alpha", "beta", "gamma"}) expected.push_back(programFiles_ + "\\" + name);
  EXPECT_EQ(Items(*list_), expected);
  EXPECT_EQ(list_->ItemIndex(), k);
  EXPECT_EQ(form_->Changes, 1);
  EXPECT_EQ(form_->LastSender, list_);
  // The drive list followed the folder's drive.
  EXPECT_EQ(drives_->SelectedDrive(), 'c');
  ASSERT_GE(drives_->ItemIndex(), 0);
  EXPECT_EQ(drives_->ItemText(drives_->ItemIndex()).substr(0, 3), "c: ");

  // The same folder written in other letter case is no change on this volume.
  ASSERT_FALSE(list_->DistinguishesCase());
  list_->ShowFolder(Upper(programFiles_ + "\\"));
  EXPECT_EQ(list_->TreeFolder(), programFiles_ + "\\");
  EXPECT_EQ(form_->Changes, 1);
  list_->ShowFolder("");
  // A path without a drive cannot be placed in the tree: the list keeps its folder.
  list_->ShowFolder("relative\\path");
  list_->ShowFolder("\\rooted\\path");
  EXPECT_EQ(list_->TreeFolder(), programFiles_ + "\\");
  EXPECT_EQ(form_->Changes, 1);
}

TEST_F(FileCtrlTest, ClickingAnItemOrPressingHomeOpensThatFolderAtOnce) {
  list_->ShowFolder(programFiles_);
  const int k = filectrl::FolderDepth(programFiles_);
  ASSERT_EQ(list_->ItemText(k + 2), programFiles_ + "\\beta");

  ClickItem(k + 2);
  ASSERT_TRUE(PumpUntil([&] { return list_->TreeFolder() == programFiles_ + "\\beta"; })) << list_->TreeFolder();
  EXPECT_EQ(list_->ItemCount(), k + 2);  // beta has no sub-folders
  EXPECT_EQ(list_->ItemIndex(), k + 1);
  EXPECT_EQ(form_->Changes, 2);

  // Up opens the parent; Home opens the drive root with its top-level folders below.
  SetFocus(list_->Handle());
  PostMessageA(list_->Handle(), WM_KEYDOWN, VK_UP, 0);
  ASSERT_TRUE(PumpUntil([&] { return list_->TreeFolder() == programFiles_; })) << list_->TreeFolder();
  PostMessageA(list_->Handle(), WM_KEYDOWN, VK_HOME, 0);
  ASSERT_TRUE(PumpUntil([&] { return list_->TreeFolder() == "C:\\"; })) << list_->TreeFolder();
  EXPECT_EQ(list_->ItemIndex(), 0);
  EXPECT_EQ(list_->ItemText(0), "C:\\");
  const auto top = filectrl::SubFolderNames("C:\\");
  ASSERT_EQ(list_->ItemCount(), 1 + int(top.size()));
  for (std::size_t i = 0; i < top.size(); ++i) EXPECT_EQ(list_->ItemText(int(i) + 1), "C:\\" + top[i]);
  EXPECT_EQ(form_->Changes, 4);
}

TEST_F(FileCtrlTest, ItemsAreIndentedByTheirLevelAndDrawnWithoutTheirTransparentColour) {
  list_->ShowFolder(programFiles_);
  const int k = filectrl::FolderDepth(programFiles_);
  ASSERT_EQ(list_->ItemCount(), k + 4);
  UpdateWindow(list_->Handle());

  // The picture as stored: both folder pictures are 16 x 16, with the transparent
  // colour in their bottom-left pixel.
  HDC screen = GetDC(list_->Handle());
  HDC openDC = CreateCompatibleDC(screen), closedDC = CreateCompatibleDC(screen);
  HBITMAP open = LoadBitmapA(GetModuleHandleA(nullptr), "OPENFOLDER");
  HBITMAP closed = LoadBitmapA(GetModuleHandleA(nullptr), "CLOSEDFOLDER");
  ASSERT_TRUE(open && closed);
  HGDIOBJ oldOpen = SelectObject(openDC, open), oldClosed = SelectObject(closedDC, closed);
  const int row = 8;  // a pixel row through the middle of the picture
  for (int i = 0; i < list_->ItemCount(); ++i) {
    const RECT r = ItemRect(i);
    const int top = r.top + (r.bottom - r.top - 16) / 2;
    const COLORREF background = GetPixel(screen, r.right - 3, top + row);
    const int indent = i <= k ? i * 12 + 3 : (k + 1) * 12 + 3;
    HDC picture = i <= k ? openDC : closedDC;
    const COLORREF transparent = GetPixel(picture, 0, 15);
    // The transparent corner shows the item's background.
    EXPECT_EQ(GetPixel(screen, r.left + indent, top + 15), background) << "item " << i;
    // The first pixel of the row that stands out lies where the picture puts it.
    int first = 0;
    while (first < 16 && (GetPixel(picture, first, row) == transparent || GetPixel(picture, first, row) == background))
      ++first;
    ASSERT_LT(first, 16);
    int x = 2;  // the focus rectangle may cover the first column
    while (x < r.right && GetPixel(screen, x, top + row) == background) ++x;
    EXPECT_EQ(x - first, indent) << "item " << i << " " << list_->ItemText(i);
  }
  SelectObject(openDC, oldOpen);
  SelectObject(closedDC, oldClosed);
  DeleteObject(open);
  DeleteObject(closed);
  DeleteDC(openDC);
  DeleteDC(closedDC);
  ReleaseDC(list_->Handle(), screen);
}

TEST_F(FileCtrlTest, DriveListShowsTheUsableDrivesInLowerCaseWithTheirPictures) {
  const auto items = Items(*drives_);
  EXPECT_EQ(drives_->DriveMask(), GetLogicalDrives());
  EXPECT_NE(drives_->DriveMask() & (1u << 3), 0u);  // d: exists, but is optical
  const auto find = [&](const std::string& start) {
    return std::find_if(items.begin(), items.end(), [&](const std::string& t) { return t.rfind(start, 0) == 0; });
  };
  ASSERT_NE(find("c: "), items.end());
  ASSERT_NE(find("e: "), items.end());
  ASSERT_NE(find("n: "), items.end());
  EXPECT_EQ(*find("e: "), "e: [data]");
  EXPECT_EQ(*find("n: "), "n: ");
  EXPECT_EQ(find("a:"), items.end());
  EXPECT_EQ(find("d:"), items.end());
  EXPECT_TRUE(std::is_sorted(items.begin(), items.end()));

  const auto picture = [&](const std::string& start) {
    return static_cast<const TResourceBitmap*>(drives_->ItemObject(int(find(start) - items.begin())));
  };
  EXPECT_EQ(picture("e: ")->Height(), 10);  // the external-drive picture
  EXPECT_EQ(picture("c: ")->Height(), 11);  // the fixed-drive picture
  EXPECT_EQ(picture("n: ")->Height(), 11);
}

TEST_F(FileCtrlTest, SelectingADriveStoresItInLowerCaseMovesTheListOnceAndOnlyOnce) {
  list_->ShowFolder(programFiles_);
  int comboChanges = 0;
  drives_->OnChange = [&](ui::TControl*) { ++comboChanges; };
  const int changes = form_->Changes;

  drives_->SelectDrive('E');
  EXPECT_EQ(drives_->SelectedDrive(), 'e');
  EXPECT_EQ(drives_->ItemText(drives_->ItemIndex()), "e: [data]");
  EXPECT_EQ(list_->TreeFolder(), "e:\\");
  EXPECT_EQ(form_->Changes, changes + 1);
  EXPECT_EQ(comboChanges, 1);

  drives_->SelectDrive('e');
  EXPECT_EQ(form_->Changes, changes + 1);
  EXPECT_EQ(comboChanges, 1);

  // A letter without a listed drive keeps the selection but still moves the list.
  drives_->SelectDrive('Q');
  EXPECT_EQ(drives_->SelectedDrive(), 'q');
  EXPECT_EQ(drives_->ItemText(drives_->ItemIndex()), "e: [data]");
  EXPECT_EQ(list_->TreeFolder(), "q:\\");

  // The user types c in the closed drive list: the folder tree list follows, and the
  // drive list tells of the pick once.
  comboChanges = 0;
  SetFocus(drives_->Handle());
  PostMessageA(drives_->Handle(), WM_CHAR, 'c', 0);
  ASSERT_TRUE(PumpUntil([&] { return drives_->SelectedDrive() == 'c'; }));
  EXPECT_EQ(list_->TreeFolder()[0], 'C');
  EXPECT_EQ(comboChanges, 1);
}

TEST(FileCtrlLinkTest, TheLinkIsClearedWhenEitherSideGoes) {
  TFileCtrlForm form;  // never shown
  TDirectoryListBox* list = form.DestDirLstBx;
  TDriveComboBox* drives = form.DestDirCmbBx;
  EXPECT_EQ(drives->DirList(), list);
  EXPECT_EQ(list->DriveList(), drives);
  drives->SetDirList(nullptr);
  EXPECT_EQ(list->DriveList(), nullptr);
  // Without a drive list the folder tree list moves to the other drive by itself.
  list->ShowFolder("e:\\");
  EXPECT_EQ(list->TreeFolder(), "e:\\");
  EXPECT_EQ(form.Changes, 1);
  drives->SetDirList(list);
  delete list;  // the form's child, gone before its drive list
  EXPECT_EQ(drives->DirList(), nullptr);
  drives->SelectDrive('c');
  EXPECT_EQ(drives->SelectedDrive(), 'c');
}

// The lists' places, item heights and pictures at a DPI, whatever DPIs came before.
TEST(FileCtrlScaleTest, ListsAtADpiAreLaidOutAsFreshListsThere) {
  const auto seen = [](TFileCtrlForm& form) {
    std::vector<long> values;
    for (ui::TControl* c : std::vector<ui::TControl*>{form.DestDirLstBx, form.DestDirCmbBx}) {
      RECT r;
      GetWindowRect(c->Handle(), &r);
      MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
      values.insert(values.end(), {r.left, r.top, r.right, r.bottom});
    }
    values.push_back(SendMessageA(form.DestDirLstBx->Handle(), LB_GETITEMHEIGHT, 0, 0));
    values.push_back(SendMessageA(form.DestDirCmbBx->Handle(), CB_GETITEMHEIGHT, 0, 0));
    values.push_back(SendMessageA(form.DestDirCmbBx->Handle(), CB_GETITEMHEIGHT, WPARAM(-1), 0));
    return values;
  };
  TFileCtrlForm travelled;  // never shown
  for (int dpi : {120, 144, 192, 96}) {
    travelled.ScaleToDpi(dpi);
    TFileCtrlForm fresh;
    fresh.ScaleToDpi(dpi);
    EXPECT_EQ(seen(travelled), seen(fresh)) << dpi;
  }
}
