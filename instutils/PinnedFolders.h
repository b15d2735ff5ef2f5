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

#include <memory>
#include <string>
#include <vector>

#include "instutils/Handles.h"

namespace inst {

// The result of a path that passes through a link the program does not follow
// (ERROR_STOPPED_ON_SYMLINK, which the system headers may lack).
inline constexpr DWORD kLinkNotFollowed = 681;

// The checked folders below one top folder, held for as long as the object lives: an
// installation pins its module folders once and writes all its files, the stamp and the
// update log through them.
class TPinnedFolders {
 public:
  // top: the folder every user may write to; empty: no path lies below it.
  explicit TPinnedFolders(const std::string& top);
  TPinnedFolders(const TPinnedFolders&) = delete;
  TPinnedFolders& operator=(const TPinnedFolders&) = delete;

  // True when path lies below the top folder (letter case ignored).
  bool Guards(const std::wstring& path) const;
  // Checks and holds the top folder and every folder below it down to folder (which must lie
  // below top or be top itself; trailing backslashes do not count). A folder held by an
  // earlier call is not checked again. With make, missing folders are created on the way and
  // then checked like the others; without it, a missing one gives ERROR_PATH_NOT_FOUND.
  // kLinkNotFollowed for a link that is refused.
  DWORD Pin(const std::wstring& folder, bool make);

 private:
  struct TLevel {
    std::size_t end;  // the folder's name is path_ up to here
    UniqueFile handle;
  };
  std::wstring top_;             // without a trailing backslash
  std::wstring path_;            // the deepest folder of the last Pin
  std::vector<TLevel> levels_;   // its folders, top first
  std::vector<UniqueFile> kept_; // folders of earlier Pins, still held
};

// The held folders below the shared data folder that a caller hands on (an installation's),
// or, without them, folders of this scope's own.
class TSharedFolders {
 public:
  explicit TSharedFolders(TPinnedFolders* given);
  TPinnedFolders* get() const { return given_ ? given_ : own_.get(); }

 private:
  TPinnedFolders* given_;
  std::unique_ptr<TPinnedFolders> own_;
};

// The errors that mean no entry of that name (or no folder on its way) exists.
inline bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The checks of one entry, as Pin makes them on a folder.
struct TCheckedEntry {
  DWORD error = ERROR_SUCCESS;  // ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND when there is none
  DWORD attributes = INVALID_FILE_ATTRIBUTES;  // by name and by handle together
  UniqueFile handle;  // the entry itself (opened without following a link) when there is one
};
// Opens the entry of that name itself (a link as the link) for its attributes and
// permissions, and, with refuseLinks, refuses a link that SYSTEM, TrustedInstaller or the
// Administrators group do not own (kLinkNotFollowed). The handle shares everything.
TCheckedEntry CheckEntry(const std::wstring& path, bool refuseLinks);

// Where Windows offers it (RedirectionGuard, recent Windows 10 and 11 releases), turns on
// the process mitigation that refuses to follow junctions made by non-administrators
// anywhere; looked up at run time, so elsewhere (Windows 7, Wine) nothing happens.
void RefuseUntrustedJunctions();

// The shared Zentrova data folder: below common application data, or below the documents
// folder when the shell names no common one; empty when it names neither. The module
// folders, the install stamp and the update log lie below it.
std::string SharedDataFolder();

}  // namespace inst
