// The classes a layout may name: a factory per class name, registered before a form is
// built. (The window classes behind the controls are registered by the controls.)
#pragma once

#include <functional>
#include <string>

namespace ui {

class TControl;
class TWinControl;

// Makes a new control of one class under parent (which owns it). May throw
// ELayoutError when the parent cannot hold that class.
using TControlFactory = std::function<TControl*(TWinControl* parent)>;

void RegisterLayoutClass(const std::string& className, TControlFactory factory);
template <typename T>
void RegisterLayoutClass(const std::string& className) {
  RegisterLayoutClass(className, [](TWinControl* parent) -> TControl* { return new T(parent); });
}
// The factory registered under className; an empty function when there is none.
TControlFactory FindLayoutClass(const std::string& className);

// Registers the ten standard classes: TBevel, TButton, TCheckBox, TEdit, TImage, TLabel,
// TMemo, TPanel, TPageControl, TTabSheet.
void RegisterStandardLayoutClasses();

}  // namespace ui
