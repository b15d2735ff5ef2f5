#include "ui/PageControl.h"

#include <algorithm>
#include <commctrl.h>
#include <stdexcept>

#include "instutils/SystemLibrary.h"
#include "ui/Form.h"
#include "ui/TabSheet.h"

namespace ui {

namespace {

// The tab control class lives in comctl32, which the program loads at run time from the
// system folder (the manifest picks version 6).
void RegisterTabControlClass() {
  static bool done = false;
  if (done) return;
  using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  auto init = inst::SystemProc<InitFn>("comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
  if (!init || !init(&icc)) throw std::runtime_error("cannot load the common controls");
  done = true;
}

}  // namespace

TPageControl::TPageControl(TWinControl* parent) : TWinControl(parent) { SetBounds(0, 0, 289, 193); }

void TPageControl::AddPage(TTabSheet* page) {
  pages_.push_back(page);
  if (!activePage_) {
    SetActivePage(page);
  } else {
    page->SetVisible(false);
  }
}

void TPageControl::RemovePage(TTabSheet* page) {
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  if (activePage_ == page) {
    activePage_ = nullptr;
    if (!pages_.empty()) SetActivePage(pages_.front());
  }
}

void TPageControl::SetActivePage(TTabSheet* page, TControl* focus) {
  if (page && page->PageControl() != this) return;
  // The new page shows before the old one hides, so the focus can move straight over; it is
  // raised while still hidden, which repaints nothing.
  TTabSheet* old = activePage_;
  activePage_ = page;
  if (page) {
    page->PlaceAt(PageRect());
    if (HandleAllocated()) page->HandleNeeded();  // its window and its controls' come now
    if (page->HandleAllocated()) BringWindowToTop(page->Handle());
    page->SetVisible(true);
  }
  if (focus && focus->CanFocus()) focus->SetFocus();
  if (old && old != page) old->SetVisible(false);
  if (TForm* form = ParentForm()) form->FocusIfLost();
}

int TPageControl::ActivePageIndex() const {
  auto it = std::find(pages_.begin(), pages_.end(), activePage_);
  return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

void TPageControl::SetActivePageIndex(int index, TControl* focus) {
  if (index >= 0 && index < static_cast<int>(pages_.size())) SetActivePage(pages_[index], focus);
}

RECT TPageControl::PageRect() {
  RECT r = ClientRect();
  if (HandleAllocated()) {
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    r.top += Scale(2);
  }
  return r;
}

void TPageControl::AlignControls() {
  const RECT r = PageRect();
  for (TTabSheet* page : pages_) page->PlaceAt(r);
}

void TPageControl::CreateParams(TCreateParams& params) {
  RegisterTabControlClass();
  TWinControl::CreateParams(params);
  params.WindowClass = WC_TABCONTROLW;  // no tab items are ever added: no tabs show
}

void TPageControl::CreateWnd() {
  // Only the shown page gets its window here; another page gets its own, with its
  // controls', when it is first shown or when one of its controls first needs a window,
  // so a start pays only for the page it shows.
  TControl::CreateWnd();
  AlignControls();
  if (activePage_) activePage_->HandleNeeded();
}

LRESULT TPageControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ERASEBKGND) return DefaultProc(msg, wParam, lParam);  // the tab control's own
  return TWinControl::WndProc(msg, wParam, lParam);
}

}  // namespace ui
