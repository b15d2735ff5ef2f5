// The base of list boxes that draw their own items (the standard LISTBOX class, owner
// drawn with one fixed item height). An item is a text with an object pointer (such as
// a bitmap) that the list does not own. The text is also kept by the window, so other
// programs can read it.
#pragma once

#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

class TCustomListBox : public TControl {
 public:
  explicit TCustomListBox(TWinControl* parent);
  const char* ClassName() const override { return "TCustomListBox"; }

  int ItemCount() const { return static_cast<int>(items_.size()); }
  const std::string& ItemText(int index) const { return items_.at(index).Text; }
  void* ItemObject(int index) const { return items_.at(index).Object; }
  // Appends an item; returns its position.
  int AddItem(const std::string& text, void* object = nullptr);
  void InsertItem(int index, const std::string& text, void* object = nullptr);
  void ClearItems();

  // The selected position; -1 for none. Setting it moves the selection only; it raises
  // no selection-change hook.
  int ItemIndex();
  void SetItemIndex(int index);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height);

  // Suspends redrawing until the matching EndUpdate (nested pairs count).
  void BeginUpdate();
  void EndUpdate();

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  // Draws one item in rect on dc. The list has selected the font and set the colours
  // (highlight colours for a selected item) and draws the focus rectangle afterwards.
  // The default fills rect and draws the text.
  virtual void DrawItem(HDC dc, int index, const RECT& rect, UINT state);
  // Called when the user changes the selection (LBN_SELCHANGE). The default raises OnClick.
  virtual void SelectionChanged();

  void CreateParams(TCreateParams& params) override;
  // Creates the window and fills it with the items.
  void CreateWnd() override;
  void CommandNotify(WORD code) override;
  void DrawItemNotify(DRAWITEMSTRUCT& item) override;
  void MeasureItemNotify(MEASUREITEMSTRUCT& item) override;

 public:
  TNotifyEvent OnClick;

 private:
  struct TItem {
    std::string Text;
    void* Object;
  };
  std::vector<TItem> items_;
  int itemIndex_ = -1;
  int itemHeight_ = 16;
  int updateCount_ = 0;
};

}  // namespace ui
