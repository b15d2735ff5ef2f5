#include "ui/WinControl.h"

#include <algorithm>

#include "ui/LayoutReader.h"

namespace ui {

TWinControl::TWinControl(TWinControl* parent) : TControl(parent) {}

TWinControl::~TWinControl() {
  // The window first: the children's windows go with it while their objects still
  // exist; then the children, the last first.
  DestroyHandle();
  while (!controls_.empty()) delete controls_.back();
}

void TWinControl::InsertControl(TControl* control) { controls_.push_back(control); }

void TWinControl::RemoveControl(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

std::vector<TControl*> TWinControl::AllControls() const {
  std::vector<TControl*> all;
  for (TControl* c : controls_) c->AddWithChildren(all);
  return all;
}

void TWinControl::AddWithChildren(std::vector<TControl*>& out) {
  out.push_back(this);
  for (TControl* c : controls_) c->AddWithChildren(out);
}

TControl* TWinControl::FindChild(const std::string& name) const {
  for (TControl* c : AllControls()) {
    if (c->Name() == name) return c;
  }
  return nullptr;
}

RECT TWinControl::ClientRect() {
  RECT r{0, 0, Width(), Height()};
  if (HandleAllocated()) GetClientRect(Handle(), &r);
  return r;
}

void TWinControl::AlignControls() {
  RECT r = AlignRect();
  // Controls aligned to the same edge keep their order from that edge inwards.
  for (TAlign align : {TAlign::alTop, TAlign::alRight}) {
    std::vector<TControl*> list;
    for (TControl* c : controls_) {
      if (c->Align() == align && c->Visible()) list.push_back(c);
    }
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      return align == TAlign::alTop ? a->Top() < b->Top()
                                    : a->Left() + a->Width() > b->Left() + b->Width();
    });
    for (TControl* c : list) {
      if (align == TAlign::alTop) {
        c->PlaceAt(r.left, r.top, r.right - r.left, c->Height());
        r.top += c->Height();
      } else {
        c->PlaceAt(r.right - c->Width(), r.top, c->Width(), r.bottom - r.top);
        r.right -= c->Width();
      }
    }
  }
}

void TWinControl::SetParentBackground(bool parentBackground) {
  parentBackground_ = parentBackground;
  ColorChanged();
}

TColor TWinControl::BackgroundColor() const {
  return parentBackground_ && Parent() ? Parent()->BackgroundColor() : Color();
}

bool TWinControl::SetProperty(const std::string& name, const TLayoutValue& value,
                              TLayoutReader& reader) {
  if (name == "ParentBackground") {
    SetParentBackground(value.AsBoolean());
    return true;
  }
  return TControl::SetProperty(name, value, reader);
}

void TWinControl::ChangeScale() {
  TControl::ChangeScale();
  for (TControl* c : controls_) c->ChangeScale();
}

void TWinControl::CreateParams(TCreateParams& params) {
  TControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TWinControl::CreateWnd() {
  TControl::CreateWnd();
  AlignControls();
  for (TControl* c : controls_) {
    if (!c->HandleAllocated()) c->CreateWnd();
  }
  // A label's field lies directly below the label: Windows names a field from the window
  // just above it. Only that pair swaps places; the other siblings keep creation order.
  for (TControl* c : controls_) {
    TControl* field = c->LabelledControl();
    if (field && field->parent_ == this && field->handle_ && c->handle_) {
      SetWindowPos(field->handle_, c->handle_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : controls_) {
    if (c->ParentFont()) c->FontChanged();
  }
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  // Children that show this control's colour or background follow it.
  for (TControl* c : controls_) c->ColorChanged();
}

bool TWinControl::ReflectMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  auto byHandle = [this](HWND h) -> TControl* {
    for (TControl* c : controls_) {
      if (c->handle_ && c->handle_ == h) return c;
    }
    return nullptr;
  };
  switch (msg) {
    case WM_COMMAND:
      if (TControl* c = lParam ? byHandle(reinterpret_cast<HWND>(lParam)) : nullptr) {
        c->CommandNotify(HIWORD(wParam));
        result = 0;
        return true;
      }
      break;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (TControl* c = item->CtlType == ODT_MENU ? nullptr : byHandle(item->hwndItem)) {
        c->DrawItemNotify(*item);
        result = TRUE;
        return true;
      }
      break;
    }
    case WM_MEASUREITEM: {
      // Asked while the list's window is being created, before its handle is known.
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      for (TControl* c : controls_) {
        if (item->CtlType != ODT_MENU && c->id_ == static_cast<int>(item->CtlID) &&
            (c->handle_ || c == creating_)) {
          c->MeasureItemNotify(*item);
          result = TRUE;
          return true;
        }
      }
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (TControl* c = byHandle(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = c->CtlColor(reinterpret_cast<HDC>(wParam))) {
          result = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      }
      break;
    default:
      break;
  }
  return false;
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (ReflectMessage(msg, wParam, lParam, result)) return result;
  switch (msg) {
    case WM_ERASEBKGND:
      FillBackground(reinterpret_cast<HDC>(wParam), BackgroundColor());
      return 1;
    case WM_SIZE:
      AlignControls();
      break;
    default:
      break;
  }
  return TControl::WndProc(msg, wParam, lParam);
}

}  // namespace ui
