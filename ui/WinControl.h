// A control that holds other controls: it owns them, creates their windows after its
// own, lays out the aligned ones and hands their notifications back to them.
#pragma once

#include <vector>

#include "ui/Control.h"

namespace ui {

class TWinControl : public TControl {
 public:
  explicit TWinControl(TWinControl* parent);
  // Deletes the children, the last first.
  ~TWinControl() override;

  // The children in creation order, which is also the stacking order: a later child
  // lies above an earlier one.
  const std::vector<TControl*>& Controls() const { return controls_; }
  // Every control of the subtree below, depth first in creation order (the tab order).
  std::vector<TControl*> AllControls() const;
  void AddWithChildren(std::vector<TControl*>& out) override;
  // The child with this name, searched through the whole subtree; null when absent.
  TControl* FindChild(const std::string& name) const;

  // The client area in the control's own coordinates.
  virtual RECT ClientRect();
  // Lays out the aligned children (alTop, then alRight) in the client area.
  virtual void AlignControls();

  // With ParentBackground (the default) the control shows its parent's background and
  // not its own Color; an opaque container clears it.
  bool ParentBackground() const { return parentBackground_; }
  void SetParentBackground(bool parentBackground);
  TColor BackgroundColor() const override;

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;
  // Scales the control, then its children.
  void ChangeScale() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  // Creates the window, lays out the children and creates theirs.
  void CreateWnd() override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void FontChanged() override;
  void ColorChanged() override;
  // The part of the client area the aligned children share (inside a panel's bevels).
  virtual RECT AlignRect() { return ClientRect(); }

 private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // Routes a notification from a child window back to its object.
  bool ReflectMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  std::vector<TControl*> controls_;
  bool parentBackground_ = true;
};

}  // namespace ui
