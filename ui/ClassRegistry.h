// The classes a layout may name, registered by class name before a form is built.
#pragma once

#include <functional>
#include <string>

namespace ui {

class TControl;
class TWinControl;

// Makes a new control of one class under parent (which owns it). May throw
// ELayoutError when the parent cannot hold that class.
using TControlFactory = std::function<TControl*(TWinControl* parent)>;

// (Not named RegisterClass: that name is a macro of the platform headers.)
void RegisterControlClass(const std::string& className, TControlFactory factory);
template <typename T>
void RegisterControlClass(const std::string& className) {
  RegisterControlClass(className, [](TWinControl* parent) -> TControl* { return new T(parent); });
}
// The factory registered under className; an empty function when there is none.
TControlFactory FindClass(const std::string& className);
// Forgets every registered class.
void UnregisterControlClasses();

// Registers the ten standard classes: TBevel, TButton, TCheckBox, TEdit, TImage, TLabel,
// TMemo, TPanel, TPageControl, TTabSheet.
void RegisterStandardControlClasses();

}  // namespace ui
