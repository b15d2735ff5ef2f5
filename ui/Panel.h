// A container that paints its background and up to two one-pixel bevels around its edge:
// the outer one, then the inner one inside it.
#pragma once

#include "ui/WinControl.h"

namespace ui {

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
 public:
  explicit TPanel(TWinControl* parent);
  const char* ClassName() const override { return "TPanel"; }

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  RECT AlignRect() override;
  void PaintControl(HDC dc) override;

 private:
  TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
  TPanelBevel bevelInner_ = TPanelBevel::bvNone;
};

}  // namespace ui
