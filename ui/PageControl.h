// A container of pages (TTabSheet) that shows exactly one of them and never any tabs:
// the underlying tab control has no items, so the user cannot switch pages; the program
// does, through ActivePage or ActivePageIndex. Each page fills the content area, which
// begins 2 pixels (at 96 DPI) below the display area the tab control reports. A page and its controls
// get their windows when the page is first shown (or a window of theirs is first needed).
#pragma once

#include <vector>

#include "ui/WinControl.h"

namespace ui {

class TTabSheet;

class TPageControl : public TWinControl {
 public:
  explicit TPageControl(TWinControl* parent);
  const char* ClassName() const override { return "TPageControl"; }

  // The shown page; the first page added until one is chosen. A change of page gives the
  // focus to `focus` when one is named, else one that the hidden page takes away goes
  // where the form puts a lost focus (TForm::FocusIfLost); either way it moves once.
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page, TControl* focus = nullptr);
  // The position of the shown page in the page list; -1 without pages.
  int ActivePageIndex() const;
  void SetActivePageIndex(int index, TControl* focus = nullptr);

  // The area the pages fill, in the page control's client coordinates.
  RECT PageRect();
  void AlignControls() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class TTabSheet;
  void AddPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
};

}  // namespace ui
