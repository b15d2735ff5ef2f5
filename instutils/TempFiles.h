// Names for the short-lived files the wizard writes out of the payload (licence text,
// logos), and the sweep at program end that removes them and any leftovers of earlier
// runs. Every name starts with one prefix made from the setup title.
#pragma once

#include <string>

namespace inst {

// "~" followed by the ASCII letters of the setup title: "~ZentrovaLatvianSpellcheckerSetup".
std::string TempFilePrefix();

// Creates a new, empty file exclusively under TempFolder + prefix + the lowest free counter
// (0, 1, ...) + ".tmp" and returns its path; the caller writes it, uses it and deletes it.
// A name taken by anything (a folder, a link) is skipped. When the folder takes no new
// file, the first name is returned uncreated; with no temporary folder it is relative.
std::string NewTempFileName();

// Removes every file and folder tree in the temporary folder whose name begins with the
// prefix (letter case counts). A link is removed as a link, never entered. Whatever cannot
// be deleted stays; nothing is reported.
void CleanTempFiles();

}  // namespace inst
