// The names the drive list shows: volume labels, the remote names of mapped drives and
// the text of each listed drive.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace filectrl {

// The volume name of `letter`:\ in brackets ("[data]"), lower-cased when the letter is
// lower case and upper-cased otherwise; empty without brackets when the volume has no
// name or does not answer. The system's critical-error dialogs stay suppressed meanwhile.
std::string VolumeLabel(char letter);

// The remote name the network provider knows for the drive, cased like VolumeLabel but
// without brackets; VolumeLabel when the provider does not know the drive.
std::string NetworkName(char letter);

struct DriveEntry {
  char letter;        // lower case
  std::string text;   // "c: [system]", "z: \\server\share", "d: "
  bool external;      // shown with the external-drive picture
};

// The drives the list shows for a logical-drive mask: C: to Z: in ascending order,
// optical drives left out, A: and B: never.
std::vector<DriveEntry> ListedDrives(DWORD mask);

// The drive letter as the drive list stores it: letters in lower case, NUL as a blank,
// anything else unchanged.
char StoredDriveLetter(char letter);

}  // namespace filectrl
