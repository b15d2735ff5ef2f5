// Names for the short-lived files the wizard writes out of the payload (licence text,
// logos), and the sweep at program end that removes them and any leftovers of earlier
// runs. Every name starts with one prefix made from the setup title.
#pragma once

#include <string>

namespace inst {

// "~" followed by the ASCII letters of the setup title: "~ZentrovaLatvianSpellcheckerSetup".
std::string TempFilePrefix();

// TempFolder + prefix + the lowest counter (0, 1, ...) with no file of that name + ".tmp".
// The file is not created. A bare relative name when there is no temporary folder.
std::string NewTempFileName();

// Removes every file and folder tree in the temporary folder whose name begins with the
// prefix (letter case counts). Whatever cannot be deleted stays; nothing is reported.
void CleanTempFiles();

}  // namespace inst
