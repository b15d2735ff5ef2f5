// The base of every control: one window (HWND) per object, created from the object's
// settings when it is first needed, destroyed with the object.
//
// Settings (position, size, texts, colours, font, visibility) are kept in the object and
// applied to the window as soon as it exists; changing one later changes the live window.
// A control made by the layout reader gets its window when the form is built; a control
// made in code after its parent's window exists gets it from HandleNeeded() (or from any
// call that needs the window).
//
// Every window is a Unicode window: texts go to the screen as wide text.
// Messages reach the object through one window procedure per class (the virtual WndProc).
// Standard window classes (BUTTON, EDIT, LISTBOX, COMBOBOX, the tab control) are subclassed;
// the others are window classes of our own. Notifications that Windows sends to a parent
// (WM_COMMAND, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*) are handed back by the parent to
// the object of the child they are about, so a control handles its own.
// An exception that escapes a message handler is shown by the application's default error
// handling and the program goes on.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "instutils/Handles.h"
#include "ui/Graphics.h"

namespace ui {

class TControl;
class TWinControl;
class TForm;
class TLayoutValue;
class TLayoutReader;

// Events: the sender is the control that raises them.
using TNotifyEvent = std::function<void(TControl* sender)>;
using TCloseQueryEvent = std::function<void(TControl* sender, bool& canClose)>;

// Position and size in client pixels of the parent.
struct TBounds {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TBounds&) const = default;
};

// Alignment inside the parent's client area: alTop stacks controls along the top edge at
// the parent's full width, alRight along the right edge at its full height.
enum class TAlign { alNone, alTop, alRight };

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
  // Adds the control to `out`, and with it its children, depth first in creation order.
  virtual void AddWithChildren(std::vector<TControl*>& out);

  // The window, created first if needed (with its parents' windows).
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded();
  // The control id of the window (unique within its form, given in creation order).
  int ControlId() const { return id_; }

  // Position and size in client pixels of the parent, at the control's DPI.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  // Sets the bounds; they become the control's design bounds too (taken back to 96 DPI).
  virtual void SetBounds(int left, int top, int width, int height);
  // The bounds at 96 DPI, as the layout gives them: every scaling starts from these.
  const TBounds& DesignBounds() const { return design_; }
  // Moves the window to bounds worked out from the design ones (scaled, aligned, fitted
  // to the content); the design bounds stay as they are.
  void PlaceAt(int left, int top, int width, int height);
  void PlaceAt(const RECT& r) { PlaceAt(r.left, r.top, r.right - r.left, r.bottom - r.top); }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  // Visible is the control's own setting; the window shows only while its parents'
  // windows show too (a page's controls while the page is active).
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // True when the control, and every parent up to its form, is visible and enabled.
  bool CanFocus() const;
  // Gives the keyboard focus to the control.
  void SetFocus();
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop);

  // What the form asks a control when a key arrives (TForm::HandleDialogKey):
  // whether the control, while it has the focus, keeps the key message for itself (Tab,
  // Enter or Esc as WM_KEYDOWN, a letter as WM_CHAR) rather than leaving it to the form.
  // The default asks the window (WM_GETDLGCODE).
  virtual bool KeepsKey(const MSG& msg);
  // The control that the mnemonic letter `key` (lower case) reaches through this one;
  // null for none. Buttons and check boxes answer for themselves, labels for their partner.
  virtual TControl* MnemonicTarget(wchar_t key);
  // The field that this control names for the accessibility layer (a label's); null for
  // none. Its parent stacks the field's window directly below this one.
  virtual TControl* LabelledControl() const { return nullptr; }
  // Whether Enter presses this control while it has the focus (a push button) rather
  // than the form's default button.
  virtual bool TakesEnter() const { return false; }
  // The control reached from the keyboard takes the focus (an edit selects its text).
  virtual void FocusByKeyboard();
  // What a click does; a mnemonic focuses its target, then clicks it. Nothing by default.
  virtual void Click() {}
  // Shows the control as the one that Enter presses, or not (push buttons only).
  virtual void SetDefaultLook(bool) {}

  // The window text: caption of buttons, labels and forms, text of edits.
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& caption);

  // The control's own background colour.
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // The colour behind the control's text: by default its parent's background (labels,
  // images, bevels and check boxes show through to it).
  virtual TColor BackgroundColor() const;

  // The font in effect: the parent's, unless the control was given its own. Its height is
  // the 96-DPI one; the GDI font is made for the control's DPI.
  const TFont& Font() const;
  // Sets the control's own font.
  void SetFont(const TFont& font);
  bool ParentFont() const { return parentFont_; }
  // The GDI font of Font() at the control's DPI, owned by the control.
  HFONT FontHandle();
  // The text metrics of Font() on the screen.
  TEXTMETRICW FontMetrics();

  void Invalidate();

  // The pixels per inch the control is laid out for: its form's (96 outside a form).
  int Dpi() const;
  // A pixel length of the 96-DPI layout at the control's DPI. Every pixel constant of a
  // control goes through here, so the whole layout scales alike.
  int Scale(int pixels) const;
  // Lays the control out for Dpi() from its design bounds, whatever DPI it had before.
  // The font takes effect when the form refreshes the fonts.
  virtual void ChangeScale();

  // Sets a property by its layout name; false when the class has no such property.
  // Classes extend the chain: handle their own names, else call the base class.
  // Component references and event handlers are resolved through the reader.
  virtual bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader);

  // Default handling of a message: the subclassed window class's own procedure, or
  // DefWindowProc for our own classes.
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  struct TCreateParams {
    const wchar_t* WindowClass = nullptr;  // a standard class, or null for our own class
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
  virtual void DrawItemNotify(DRAWITEMSTRUCT& item);
  virtual void MeasureItemNotify(MEASUREITEMSTRUCT& item);
  // WM_CTLCOLOR*: prepares dc and returns the background brush (null: default handling).
  virtual HBRUSH CtlColor(HDC dc);

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
  // A solid brush for a colour, owned by the control (system colours: the system's brush).
  HBRUSH BrushFor(TColor color);
  // Paints a window of our own class (WM_PAINT); a drawn control's background is painted
  // already.
  virtual void PaintControl(HDC dc);

  // Default settings of a class, set by its constructor.
  void InitTabStop(bool tabStop) { tabStop_ = tabStop; }
  void InitColor(TColor color) { color_ = color; }
  // A drawn control (label, image, bevel) has no background of its own and lets clicks
  // through to what lies below: it paints its parent's background, then PaintControl.
  void InitDrawn() { drawn_ = true; }

 private:
  friend class TWinControl;
  friend class TForm;
  friend class TLayoutReader;
  friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
  void DetachWindow();
  void ApplyFont();
  // Called once the control can no longer take the focus (hidden, disabled): a focus in
  // its window moves on before the window changes.
  void HandOnFocus();
  // The control whose window is being created (owner-drawn lists ask for their item
  // height before their window handle is known). Controls are made on one thread only.
  static TControl* creating_;

  TWinControl* parent_;
  std::string name_;
  HWND handle_ = nullptr;
  WNDPROC standardProc_ = nullptr;  // the subclassed class's procedure
  int id_ = 0;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TBounds design_;
  TAlign align_ = TAlign::alNone;
  bool loading_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  bool tabStop_ = false;
  bool drawn_ = false;
  std::wstring caption_;
  TColor color_ = clBtnFace;
  TFont font_;
  bool parentFont_ = true;
  inst::UniqueFont fontHandle_;
  TFont fontHandleFor_;
  int fontHandleDpi_ = 0;
  inst::UniqueBrush brush_;
  TColor brushColor_ = 0;
};

// The text a window holds now (an edit's may be the user's).
std::wstring WindowText(HWND window);

// The mnemonic letter of a caption ("&File" gives 'f'), lower case; 0 when none.
wchar_t MnemonicOf(const std::wstring& caption);

}  // namespace ui
