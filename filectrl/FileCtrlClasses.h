// Makes the folder picker classes known to layouts: TDirectoryListBox and TDriveComboBox,
// under those class names. Called once at start-up, before a form is built.
#pragma once

namespace filectrl {
void RegisterFileCtrlClasses();
}
