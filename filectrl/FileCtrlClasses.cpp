#include "FileCtrlClasses.h"

#include "ClassRegistry.h"
#include "TDirectoryListBox.h"
#include "TDriveComboBox.h"

namespace filectrl {

void RegisterFileCtrlClasses() {
  ui::RegisterControlClass<TDirectoryListBox>("TDirectoryListBox");
  ui::RegisterControlClass<TDriveComboBox>("TDriveComboBox");
}

}  // namespace filectrl
