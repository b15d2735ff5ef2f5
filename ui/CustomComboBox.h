// The base of drop-down lists that draw their own items (the standard COMBOBOX class,
// drop-down list style, owner drawn with one fixed item height, also for the closed
// face). The item model is that of TCustomListBox: a text with an object pointer.
#pragma once

#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

class TCustomComboBox : public TControl {
 public:
  explicit TCustomComboBox(TWinControl* parent);
  const char* ClassName() const override { return "TCustomComboBox"; }

  int ItemCount() const { return static_cast<int>(items_.size()); }
  const std::string& ItemText(int index) const { return items_.at(index).Text; }
  void* ItemObject(int index) const { return items_.at(index).Object; }
  int AddItem(const std::string& text, void* object = nullptr);
  void ClearItems();

  // The selected position; -1 for none. Setting it moves the selection only.
  int ItemIndex();
  void SetItemIndex(int index);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int height);
  // Items shown in the open list before it scrolls.
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int count) { dropDownCount_ = count; }
  bool DroppedDown();

  TNotifyEvent OnChange;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  // Draws one item (index -1: the closed face without a selection). As for
  // TCustomListBox::DrawItem.
  virtual void DrawItem(HDC dc, int index, const RECT& rect, UINT state);
  // Called when the user selects an item (CBN_SELCHANGE). The default calls Change.
  virtual void SelectionChanged();
  // Raises OnChange.
  virtual void Change();

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void CommandNotify(WORD code) override;
  void DrawItemNotify(DRAWITEMSTRUCT& item) override;
  void MeasureItemNotify(MEASUREITEMSTRUCT& item) override;
  int WindowHeight() const override;

 private:
  void UpdateHeight();

  struct TItem {
    std::string Text;
    void* Object;
  };
  std::vector<TItem> items_;
  int itemIndex_ = -1;
  int itemHeight_ = 16;
  int dropDownCount_ = 8;
};

}  // namespace ui
