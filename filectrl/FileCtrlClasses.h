// Makes the drive list and the folder tree list known to layouts, under the class names
// TDriveComboBox and TDirectoryListBox. Called once at start-up, before a form is built.
#pragma once

namespace filectrl {
void RegisterFileCtrlClasses();
}
