// The base of the lists that draw their own items: a list box (the standard LISTBOX
// class) or a drop-down list (the standard COMBOBOX class in drop-down list style, which
// draws its closed face as its selected item), owner drawn with one fixed item height.
// Both keep the same items: a text with an object pointer (such as a bitmap) that the
// list does not own. The window keeps the texts too, so other programs can read them.
#pragma once

#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

enum class TListStyle { ListBox, DropDownList };

class TOwnerDrawList : public TControl {
 public:
  TOwnerDrawList(TWinControl* parent, TListStyle style);

  int ItemCount() const { return static_cast<int>(items_.size()); }
  const std::string& ItemText(int index) const { return items_.at(index).Text; }
  void* ItemObject(int index) const { return items_.at(index).Object; }
  void AddItem(const std::string& text, void* object);
  void ClearItems();

  // The selected position; -1 for none. Setting it moves the selection only; it calls
  // nobody.
  int ItemIndex();
  void SetItemIndex(int index);
  // The item height at the list's DPI; its 96-DPI height follows, and scaling starts
  // from that.
  void SetItemHeight(int height);
  void ChangeScale() override;

  // Suspends redrawing until the matching EndUpdate (nested pairs count).
  void BeginUpdate();
  void EndUpdate();

  // Raises OnChange (the subclass decides when).
  virtual void NotifyChange();
  TNotifyEvent OnChange;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  // Draws item `index` in rect on dc. The list has filled nothing yet, has selected its
  // font and set the colours (highlight colours for a selected item) and draws the focus
  // rectangle afterwards.
  virtual void DrawItem(HDC dc, int index, const RECT& rect) = 0;
  // Called when the user changes the selection (LBN_SELCHANGE, CBN_SELCHANGE).
  virtual void SelectionChanged() {}

  void CreateParams(TCreateParams& params) override;
  // Creates the window and fills it with the items.
  void CreateWnd() override;
  // A drop-down list's window spans its face and its open list.
  int WindowHeight() const override;
  void CommandNotify(WORD code) override;
  // A new font resets a drop-down list's face height: the item height is sent again.
  void FontChanged() override;
  void DrawItemNotify(DRAWITEMSTRUCT& item) override;
  void MeasureItemNotify(MEASUREITEMSTRUCT& item) override;

 private:
  // The window message for a list box, or its drop-down list twin.
  UINT Message(UINT listBox, UINT dropDownList) const { return dropDown_ ? dropDownList : listBox; }
  void SendItemHeight();

  struct TItem {
    std::string Text;
    void* Object;
  };
  void AddWindowItem(const TItem& item);
  const bool dropDown_;
  std::vector<TItem> items_;
  int itemIndex_ = -1;
  int itemHeight_ = 16;
  int designItemHeight_ = 16;  // at 96 DPI
  int updateCount_ = 0;
};

}  // namespace ui
