// The base of every control: one window (HWND) per object, created from the object's
// settings when it is first needed, destroyed with the object.
//
// Settings (position, size, texts, colours, font, visibility) are kept in the object and
// applied to the window as soon as it exists; changing one later changes the live window.
// A control made by the layout reader gets its window when the form is built; a control
// made in code after its parent's window exists gets it from HandleNeeded() (or from any
// call that needs the window).
//
// Messages reach the object through one window procedure per class (the virtual WndProc).
// Standard window classes (BUTTON, EDIT, LISTBOX, COMBOBOX, the tab control) are subclassed;
// the others are window classes of our own. Notifications that Windows sends to a parent
// (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*) are handed back by the
// parent to the object of the child they are about, so a control handles its own.
// An exception that escapes a message handler is shown by Application.HandleException and
// the program goes on.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/Graphics.h"
#include "instutils/Handles.h"

namespace ui {

class TControl;
class TWinControl;
class TForm;
class TLayoutValue;
class TLayoutReader;

// Events: the sender is the control that raises them.
using TNotifyEvent = std::function<void(TControl* sender)>;
using TCloseQueryEvent = std::function<void(TControl* sender, bool& canClose)>;

// Alignment inside the parent's client area. alTop stacks controls along the top edge
// at the parent's full width, alRight along the right edge at its full height, and so on.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TControl {
 public:
  // The parent takes ownership: it deletes its children when it is deleted.
  // A form is the one control without a parent.
  explicit TControl(TWinControl* parent);
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  // The class name as registered for layouts ("TButton").
  virtual const char* ClassName() const = 0;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  TWinControl* Parent() const { return parent_; }
  // The form at the top of the parent chain (the form itself for a form); may be null.
  TForm* ParentForm() const;

  // The window, created first if needed (with its parents' windows).
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded();
  // The control id of the window (unique within its form, given in creation order).
  int ControlId() const { return id_; }

  // Position and size in client pixels of the parent.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  void SetBoundsRect(const RECT& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  // Visible is the control's own setting; the window shows only while its parents'
  // windows show too (a page's controls while the page is active).
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  // True when the control, and every parent up to its form, is visible and enabled.
  bool CanFocus() const;
  bool Focused() const;
  // Gives the keyboard focus to the control.
  virtual void SetFocus();
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop);

  // The window text: caption of buttons, labels and forms, text of edits.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  // The control's own background colour. With ParentColor the parent's colour is used.
  TColor Color() const;
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool parentColor);
  // The colour behind the control's text: its Color, for see-through controls their
  // parent's background.
  virtual TColor BackgroundColor() const { return Color(); }

  // The font in effect: with ParentFont (the default) the parent's, else the control's own.
  const TFont& Font() const;
  // Sets the control's own font and clears ParentFont.
  void SetFont(const TFont& font);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool parentFont);
  // The GDI font of Font(), owned by the control.
  HFONT FontHandle();
  // The text metrics of Font() on the screen.
  TEXTMETRICA FontMetrics();

  void Invalidate();

  // Sets a property by its layout name; false when the class has no such property.
  // Classes extend the chain: handle their own names, else call the base class.
  // Component references and event handlers are resolved through the reader.
  virtual bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader);

  // Default handling of a message: the subclassed window class's own procedure, or
  // DefWindowProc for our own classes.
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  struct TCreateParams {
    const char* WindowClass = nullptr;  // a standard class, or null for our own class
    DWORD Style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;  // from the bounds, WindowHeight for Height
  };
  // Fills in the window class and styles; overrides call the base first.
  virtual void CreateParams(TCreateParams& params);
  // Creates the window from CreateParams and applies the settings. A class that fills
  // itself once its window exists overrides it: call the base, then fill.
  virtual void CreateWnd();
  // The height given to the window (a drop-down list adds its open list to its face).
  virtual int WindowHeight() const { return height_; }
  // The message handler of the class; unhandled messages go to the base class and in
  // the end to DefaultProc.
  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

  // Notifications about this control, handed back by its parent.
  virtual void CommandNotify(WORD code);  // WM_COMMAND notification code
  virtual bool Notify(NMHDR& header, LRESULT& result);  // WM_NOTIFY; true when handled
  virtual void DrawItemNotify(DRAWITEMSTRUCT& item);
  virtual void MeasureItemNotify(MEASUREITEMSTRUCT& item);
  // WM_CTLCOLOR*: prepares dc and returns the background brush (null: default handling).
  virtual HBRUSH CtlColor(HDC dc, UINT msg);

  // Called by the layout reader once the whole layout has been read (all properties set,
  // references resolved); until then Loading() is true. A control that sizes itself
  // from its settings waits for this, so the order of the layout's lines does not matter.
  virtual void Loaded();
  bool Loading() const { return loading_; }

  // Hooks for settings that change what the window shows.
  virtual void FontChanged();
  virtual void CaptionChanged();
  virtual void ColorChanged();
  // Destroys the window (not the object); the children's windows go with it.
  void DestroyHandle();
  // Fills the window's client area with colour (WM_ERASEBKGND of our own classes).
  void FillBackground(HDC dc, TColor color);
  // Draws one owner-drawn item of a list: selects the font, sets the normal colours or,
  // for a selected item, the highlight colours, calls draw with the item's position
  // (-1 for none, or for a position past the items), draws the focus rectangle of a
  // focused item and restores the device context.
  void DrawOwnerItem(DRAWITEMSTRUCT& item, int itemCount, const std::function<void(HDC, int)>& draw);
  // A solid brush for a colour, owned by the control (system colours: the system's brush).
  HBRUSH BrushFor(TColor color);

 private:
  friend class TWinControl;
  friend class TForm;
  friend class TLayoutReader;
  friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
  void DetachWindow();
  // The control whose window is being created (owner-drawn lists ask for their item
  // height before their window handle is known).
  static thread_local TControl* creating_;
  void ApplyFont();

  TWinControl* parent_;
  std::string name_;
  HWND handle_ = nullptr;
  WNDPROC standardProc_ = nullptr;  // the subclassed class's procedure
  int id_ = 0;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = TAlign::alNone;
  bool loading_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  bool tabStop_ = false;
  std::string caption_;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  TFont font_;
  bool parentFont_ = true;
  inst::UniqueGdiObject fontHandle_;
  TFont fontHandleFor_;
  inst::UniqueGdiObject brush_;
  TColor brushColor_ = 0;

 protected:
  // Default settings of a class, set by its constructor.
  void InitTabStop(bool tabStop) { tabStop_ = tabStop; }
  void InitColor(TColor color, bool parentColor) { color_ = color; parentColor_ = parentColor; }
};

}  // namespace ui
