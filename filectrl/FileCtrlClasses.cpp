#include "filectrl/FileCtrlClasses.h"

#include "ui/ClassRegistry.h"
#include "filectrl/TDirectoryListBox.h"
#include "filectrl/TDriveComboBox.h"

namespace filectrl {

void RegisterFileCtrlClasses() {
  ui::RegisterControlClass<TDirectoryListBox>("TDirectoryListBox");
  ui::RegisterControlClass<TDriveComboBox>("TDriveComboBox");
}

}  // namespace filectrl
