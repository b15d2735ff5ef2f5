// Paths below a folder that every user of the computer may write to (the shared Zentrova data
// folder, where Windows lets any user create files and folders). The program runs with the
// highest rights its user has, so a link planted there by an ordinary user must not steer
// what it writes, reads or deletes: every part of such a path, the top folder included, is
// checked by name and by handle, and a reparse point (junction, symbolic link, mount point)
// is followed only when SYSTEM, TrustedInstaller or the Administrators group owns it. Each
// checked folder stays open without delete sharing while the program works inside it, so it
// cannot be swapped for a link meanwhile.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "instutils/Handles.h"

namespace inst {

// The result of a path that passes through a link the program does not follow
// (ERROR_STOPPED_ON_SYMLINK, which the system headers may lack).
inline constexpr DWORD kLinkNotFollowed = 681;

class TPinnedFolders {
 public:
  // Checks and holds top and every folder below it down to folder (which ends in a
  // backslash or names a folder itself; it must lie below top). With make, missing folders
  // are created on the way and then checked like the others; without it, a missing one
  // gives ERROR_PATH_NOT_FOUND. kLinkNotFollowed for a link that is refused.
  DWORD Pin(const std::string& top, const std::string& folder, bool make);

 private:
  std::vector<UniqueFile> held_;
};

// Checks one name the way Pin checks a folder, without holding it: ERROR_SUCCESS for a
// plain entry, a followed link or no entry at all, kLinkNotFollowed for a refused link.
DWORD CheckNotLinked(const std::string& path);

// Where Windows offers it (RedirectionGuard, recent Windows 10 and 11 releases), turns on
// the process mitigation that refuses to follow junctions made by non-administrators
// anywhere; looked up at run time, so elsewhere (Windows 7, Wine) nothing happens.
void RefuseUntrustedJunctions();

// True when path lies below folder (letter case ignored).
bool LiesBelow(const std::string& path, const std::string& folder);

// The shared Zentrova data folder below common application data; empty when the shell
// names no such folder.
std::string SharedDataFolder();

}  // namespace inst
