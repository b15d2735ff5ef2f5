// The layout reader: builds a form's components from a layout text.
//
// A layout is plain text (stored as an RCDATA resource) of nested object blocks:
//
//   object MainForm: TMainForm          <- the form itself; its class is not looked up
//     ClientWidth = 300
//     Caption = 'Title'
//     OnCloseQuery = FormCloseQuery      <- a handler the form registered by name
//     object TopPanel: TPanel            <- a component of a registered class
//       Align = alTop
//       Color = clWhite                  <- named colour, or $00BBGGRR, or a number
//       BevelOuter = bvLowered
//       object TitleLbl: TLabel
//         Caption = 'First line'#13'second line'   <- #nnn is a UTF-16 code unit
//         Font.Name = 'Arial'
//         Font.Style = [fsBold]          <- a set: [a, b] or []
//         Font.Height = -15
//         FocusControl = NameEdt         <- a component reference, resolved at the end
//       end
//     end
//   end
//
// Lines: "object Name: TClass" opens a block, "end" closes it, "Name = value" sets a
// property; blank lines and lines starting with "//" are ignored. Values: integers
// (-12, $FF), strings ('it''s' with '' for a quote, joined with #nnn codes and with
// "+" at a line end continuing on the next line), identifiers (True, False, alTop,
// clNavy, names of components and handlers) and sets ([fsBold]).
// Strings are text: wide, a #nnn code one UTF-16 code unit (#257 is a-macron), a quoted
// part widened from the ANSI code page (ASCII stays as it is).
//
// Order of work: each component is created by its registered class under its enclosing
// object and its properties are set as they are read; component references are resolved
// after the whole text is read; then the form's registered fields are bound by name.
// An unknown class, property, component, handler or field, or a malformed line, throws
// ELayoutError naming it and the line.
#pragma once

#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

// A layout error. The reader places it: its text then names the layout (and the line),
// and Placed() is true; an error raised below the reader (a value of the wrong kind, a
// page outside a page control) is placed by the reader on its way out.
class ELayoutError : public std::runtime_error {
 public:
  explicit ELayoutError(const std::string& message) : std::runtime_error(message) {}
  ELayoutError(const std::string& message, int line) : std::runtime_error(message), line_(line), placed_(true) {}
  // The line of the layout text it is about, from 1; 0 for the text as a whole.
  int Line() const { return line_; }
  bool Placed() const { return placed_; }

 private:
  int line_ = 0;
  bool placed_ = false;
};

// One property value as written in the layout.
class TLayoutValue {
 public:
  enum class TKind { Integer, String, Identifier, Set };

  TKind Kind() const { return kind_; }
  int Line() const { return line_; }
  // Typed reads; each throws ELayoutError when the value is of another kind.
  int AsInteger() const;
  const std::wstring& AsString() const;
  const std::string& AsIdentifier() const;
  bool AsBoolean() const;                        // True or False
  TColor AsColor() const;                        // a colour name or a number
  const std::vector<std::string>& AsSet() const;
  // One of the given identifiers, as its position in the list.
  int AsEnum(std::initializer_list<const char*> names) const;

  static TLayoutValue Integer(int value, int line);
  static TLayoutValue String(std::wstring value, int line);
  static TLayoutValue Identifier(std::string value, int line);
  static TLayoutValue Set(std::vector<std::string> value, int line);

 private:
  [[noreturn]] void Wrong(const char* expected) const;

  TKind kind_ = TKind::Integer;
  int line_ = 0;
  int integer_ = 0;
  std::string text_;    // an identifier
  std::wstring string_;  // a string
  std::vector<std::string> set_;
};

class TLayoutReader {
 public:
  TLayoutReader(TForm& form, std::string sourceName);

  // Reads the whole layout into the form. Throws ELayoutError.
  void Read(const std::string& text);

  TForm& Form() const { return form_; }
  // For a property that names a component: the action runs once every component
  // exists, and gets the component (an unknown name is a layout error).
  void ResolveLater(const TLayoutValue& value, std::function<void(TControl*)> action);
  // Typed form of ResolveLater: a component of another class is a layout error.
  template <typename T>
  void ResolveLater(const TLayoutValue& value, std::function<void(T*)> action) {
    const std::string name = value.AsIdentifier();
    ResolveLater(value, [this, name, line = value.Line(), action](TControl* c) {
      T* typed = dynamic_cast<T*>(c);
      if (!typed) Fail(line, "component " + name + " is not of the class this property needs");
      action(typed);
    });
  }
  // The form's handlers named by an event property. Throw for an unknown handler.
  TNotifyEvent NotifyHandler(const TLayoutValue& value) const;
  TCloseQueryEvent CloseQueryHandler(const TLayoutValue& value) const;

  [[noreturn]] void Fail(int line, const std::string& message) const;

 private:
  struct TFixup {
    std::string name;
    int line;
    std::function<void(TControl*)> action;
  };

  TForm& form_;
  std::string sourceName_;
  std::vector<TFixup> fixups_;
};

}  // namespace ui
