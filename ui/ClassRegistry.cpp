#include "ui/ClassRegistry.h"

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
std::map<std::string, TControlFactory>& Registry() {
  static std::map<std::string, TControlFactory> registry;
  return registry;
}
}  // namespace

void RegisterControlClass(const std::string& className, TControlFactory factory) {
  Registry()[className] = std::move(factory);
}

TControlFactory FindClass(const std::string& className) {
  auto it = Registry().find(className);
  return it == Registry().end() ? TControlFactory{} : it->second;
}

void UnregisterControlClasses() { Registry().clear(); }

void RegisterStandardControlClasses() {
  RegisterControlClass<TBevel>("TBevel");
  RegisterControlClass<TButton>("TButton");
  RegisterControlClass<TCheckBox>("TCheckBox");
  RegisterControlClass<TEdit>("TEdit");
  RegisterControlClass<TImage>("TImage");
  RegisterControlClass<TLabel>("TLabel");
  RegisterControlClass<TMemo>("TMemo");
  RegisterControlClass<TPanel>("TPanel");
  RegisterControlClass<TPageControl>("TPageControl");
  RegisterControlClass<TTabSheet>("TTabSheet");
}

}  // namespace ui
