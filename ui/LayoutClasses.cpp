#include "ui/LayoutClasses.h"

#include <map>

#include "ui/Bevel.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/Image.h"
#include "ui/Label.h"
#include "ui/Memo.h"
#include "ui/PageControl.h"
#include "ui/Panel.h"
#include "ui/TabSheet.h"

namespace ui {

namespace {
std::map<std::string, TControlFactory>& Factories() {
  static std::map<std::string, TControlFactory> factories;
  return factories;
}
}  // namespace

void RegisterLayoutClass(const std::string& className, TControlFactory factory) {
  Factories()[className] = std::move(factory);
}

TControlFactory FindLayoutClass(const std::string& className) {
  auto it = Factories().find(className);
  return it == Factories().end() ? TControlFactory{} : it->second;
}

void RegisterStandardLayoutClasses() {
  RegisterLayoutClass<TBevel>("TBevel");
  RegisterLayoutClass<TButton>("TButton");
  RegisterLayoutClass<TCheckBox>("TCheckBox");
  RegisterLayoutClass<TEdit>("TEdit");
  RegisterLayoutClass<TImage>("TImage");
  RegisterLayoutClass<TLabel>("TLabel");
  RegisterLayoutClass<TMemo>("TMemo");
  RegisterLayoutClass<TPanel>("TPanel");
  RegisterLayoutClass<TPageControl>("TPageControl");
  RegisterLayoutClass<TTabSheet>("TTabSheet");
}

}  // namespace ui
