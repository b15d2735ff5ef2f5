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

TControl* TWinControl::FindChild(const std::string& name) const {
  for (TControl* c : controls_) {
    if (c->Name() == name) return c;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (TControl* found = w->FindChild(name)) return found;
    }
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
  for (TAlign align : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                       TAlign::alClient}) {
    std::vector<TControl*> list;
    for (TControl* c : controls_) {
      if (c->Align() == align && c->Visible()) list.push_back(c);
    }
    // Controls aligned to the same edge keep their order from that edge outwards.
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      switch (align) {
        case TAlign::alTop: return a->Top() < b->Top();
        case TAlign::alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
        case TAlign::alLeft: return a->Left() < b->Left();
        case TAlign::alRight: return a->Left() + a->Width() > b->Left() + b->Width();
        default: return false;
      }
    });
    for (TControl* c : list) {
      const int w = c->Width(), h = c->Height();
      switch (align) {
        case TAlign::alTop:
          c->SetBounds(r.left, r.top, r.right - r.left, h);
          r.top += h;
          break;
        case TAlign::alBottom:
          c->SetBounds(r.left, r.bottom - h, r.right - r.left, h);
          r.bottom -= h;
          break;
        case TAlign::alLeft:
          c->SetBounds(r.left, r.top, w, r.bottom - r.top);
          r.left += w;
          break;
        case TAlign::alRight:
          c->SetBounds(r.right - w, r.top, w, r.bottom - r.top);
          r.right -= w;
          break;
        case TAlign::alClient:
          c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
          break;
        case TAlign::alNone:
          break;
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

void TWinControl::PaintBackground(HDC dc) { FillBackground(dc, BackgroundColor()); }

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
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (TControl* c = byHandle(header->hwndFrom)) {
        result = 0;
        return c->Notify(*header, result);
      }
      break;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (item->CtlType == ODT_MENU) break;
      if (TControl* c = byHandle(item->hwndItem)) {
        c->DrawItemNotify(*item);
        result = TRUE;
        return true;
      }
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item->CtlType == ODT_MENU) break;
      TControl* target = nullptr;
      for (TControl* c : controls_) {
        if (c->id_ == static_cast<int>(item->CtlID) && (c->handle_ || c == creating_)) target = c;
      }
      if (target) {
        target->MeasureItemNotify(*item);
        result = TRUE;
        return true;
      }
      break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (TControl* c = byHandle(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = c->CtlColor(reinterpret_cast<HDC>(wParam), msg)) {
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
      PaintBackground(reinterpret_cast<HDC>(wParam));
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
