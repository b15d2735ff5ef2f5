// The owner-drawn lists, both styles: items with objects, item height, drawing with the
// list's colours and font, the selection-change hook, suspended redrawing. The controls are
// made in code on a form whose window exists, as a program may do.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "tests/ui/TestForm.h"
#include "ui/Form.h"
#include "ui/OwnerDrawList.h"

namespace {

struct TDrawn {
  int index;
  int height;
  COLORREF background;
  bool listFont;
};

// A list of either style that records what it is asked to draw and the user's selections.
class TRecordingList : public ui::TOwnerDrawList {
 public:
  TRecordingList(ui::TWinControl* parent, ui::TListStyle style) : TOwnerDrawList(parent, style) {}
  const char* ClassName() const override { return "TRecordingList"; }
  std::vector<TDrawn> drawn;
  int selectionChanges = 0;

 protected:
  void DrawItem(HDC dc, int index, const RECT& rect) override {
    drawn.push_back({index, rect.bottom - rect.top, GetBkColor(dc),
                     GetCurrentObject(dc, OBJ_FONT) == FontHandle()});
    ExtTextOutA(dc, rect.left, rect.top, ETO_OPAQUE, &rect, ItemText(index).c_str(),
                static_cast<UINT>(ItemText(index).size()), nullptr);
  }
  void SelectionChanged() override { ++selectionChanges; }
};

class TListForm : public ui::TForm {
 public:
  TListForm() {
    SetClientSize(300, 200);
    HandleNeeded();
  }
  const char* ClassName() const override { return "TListForm"; }
};


TEST(OwnerDrawnList, KeepsItemsDrawsThemAndReportsTheUsersSelection) {
  TListForm form;
  auto* list = new TRecordingList(&form, ui::TListStyle::ListBox);
  list->SetBounds(10, 10, 200, 120);
  list->SetItemHeight(17);
  static int objects[3];
  list->AddItem("first", &objects[2]);
  list->AddItem("C:\\", &objects[0]);
  list->AddItem("C:\\Program Files", &objects[1]);
  list->SetItemIndex(1);
  list->HandleNeeded();  // the window gets the items kept so far
  HWND h = list->Handle();

  EXPECT_EQ(SendMessageA(h, LB_GETITEMHEIGHT, 0, 0), 17);
  ASSERT_EQ(SendMessageA(h, LB_GETCOUNT, 0, 0), 3);
  char text[64] = {};
  SendMessageA(h, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "C:\\") << "other programs read the item texts";
  EXPECT_EQ(list->ItemObject(2), &objects[1]);
  EXPECT_EQ(list->ItemIndex(), 1);

  form.Show();
  list->SetFocus();
  list->drawn.clear();
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  std::set<int> indexes;
  for (const TDrawn& d : list->drawn) indexes.insert(d.index);
  EXPECT_EQ(indexes, (std::set<int>{0, 1, 2}));
  for (const TDrawn& d : list->drawn) {
    EXPECT_EQ(d.height, 17);
    EXPECT_TRUE(d.listFont);
    EXPECT_EQ(d.background, GetSysColor(d.index == 1 ? COLOR_HIGHLIGHT : COLOR_WINDOW)) << d.index;
  }

  // The user's selection: an arrow key and a click raise the hook; the program's does not.
  SendMessageA(h, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(list->ItemIndex(), 2);
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 17 / 2));
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(20, 17 / 2));
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->selectionChanges, 2);
  list->SetItemIndex(1);
  EXPECT_EQ(list->selectionChanges, 2);

  // Suspended redrawing: nothing is drawn until the last EndUpdate.
  list->BeginUpdate();
  list->BeginUpdate();
  list->ClearItems();
  list->AddItem("D:\\", nullptr);
  list->drawn.clear();
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  list->EndUpdate();
  UpdateWindow(h);
  EXPECT_TRUE(list->drawn.empty());
  list->EndUpdate();
  UpdateWindow(h);
  EXPECT_FALSE(list->drawn.empty());
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(list->ItemCount(), 1);
  form.Hide();
}

TEST(OwnerDrawnDropDownList, FollowsItsItemHeightAndReportsTheUsersSelection) {
  TListForm form;
  auto* combo = new TRecordingList(&form, ui::TListStyle::DropDownList);
  combo->SetBounds(10, 10, 200, 19);
  combo->SetItemHeight(17);
  combo->AddItem("c: [system]", nullptr);
  combo->AddItem("e: [data]", nullptr);
  combo->HandleNeeded();
  HWND h = combo->Handle();

  EXPECT_EQ(SendMessageA(h, CB_GETITEMHEIGHT, 0, 0), 17);
  RECT face;
  GetWindowRect(h, &face);
  EXPECT_EQ(combo->Height(), face.bottom - face.top) << "the face's height follows the items";
  EXPECT_GT(combo->Height(), 17);
  char text[64] = {};
  SendMessageA(h, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "e: [data]");
  EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & CBS_DROPDOWNLIST);

  combo->SetItemIndex(0);
  EXPECT_EQ(combo->selectionChanges, 0) << "the program's selection raises nothing";
  form.Show();
  combo->SetFocus();
  SendMessageA(h, WM_KEYDOWN, VK_DOWN, 0);  // the user picks the next drive
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->selectionChanges, 1);

  combo->drawn.clear();
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_FALSE(combo->drawn.empty());
  EXPECT_EQ(combo->drawn.back().index, 1) << "the face shows the selected item";
  EXPECT_TRUE(combo->drawn.back().listFont);
  form.Hide();
}

}  // namespace
