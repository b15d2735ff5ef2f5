// One page of a TPageControl; visible only while it is the active page.
#pragma once

#include "ui/WinControl.h"

namespace ui {

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  // parent must be a TPageControl (ELayoutError otherwise).
  explicit TTabSheet(TWinControl* parent);
  ~TTabSheet() override;
  const char* ClassName() const override { return "TTabSheet"; }

  TPageControl* PageControl() const { return pageControl_; }

 private:
  TPageControl* pageControl_;
};

}  // namespace ui
