#include "ui/TabSheet.h"

#include "ui/LayoutReader.h"
#include "ui/PageControl.h"

namespace ui {

namespace {
TPageControl* RequirePageControl(TWinControl* parent) {
  auto* pageControl = dynamic_cast<TPageControl*>(parent);
  if (!pageControl) throw ELayoutError("a TTabSheet needs a TPageControl as its parent");
  return pageControl;
}
}  // namespace

TTabSheet::TTabSheet(TWinControl* parent) : TWinControl(parent), pageControl_(RequirePageControl(parent)) {
  pageControl_->AddPage(this);
}

TTabSheet::~TTabSheet() {
  // The page control may be on its way out already (it deletes its children last).
  if (auto* pageControl = dynamic_cast<TPageControl*>(Parent())) pageControl->RemovePage(this);
}

}  // namespace ui
