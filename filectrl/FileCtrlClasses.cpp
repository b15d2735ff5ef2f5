#include "filectrl/FileCtrlClasses.h"

#include "filectrl/DirectoryListBox.h"
#include "filectrl/DriveComboBox.h"
#include "ui/LayoutClasses.h"

namespace filectrl {

void RegisterFileCtrlClasses() {
  ui::RegisterLayoutClass<TDirectoryListBox>("TDirectoryListBox");
  ui::RegisterLayoutClass<TDriveComboBox>("TDriveComboBox");
}

}  // namespace filectrl
