// Whole files: read in one go, and written whole or not at all. Every write goes to a fresh
// name beside the target, created exclusively in this run, and is then moved over the target
// as a name, so that a full disk, a failed write or a process killed midway never leaves a
// file cut short, and nothing is ever written or deleted through a name the program did not
// make. Results are the system's error codes (ERROR_SUCCESS when done), for each caller to
// handle by its own rule; nothing here raises or shows anything.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "instutils/UserText.h"

namespace inst {

class TPinnedFolders;

// What a caller asks of a whole-file write besides the bytes.
struct TWholeFileWrite {
  // Given to the new file as its last-write time, on the handle that wrote it (the move
  // keeps it). Best effort: a time that cannot be set leaves the time of writing.
  const FILETIME* lastWriteTime = nullptr;
  // The bytes reach the disk before the file replaces the target.
  bool flush = false;
  // Missing folders of the target are made.
  bool makeFolders = false;
  // The folders below a folder every user may write to (see PinnedFolders.h): a target below
  // its top is reached through checked, held folders, and no link on the way or at the
  // target's own name is followed. None: the path is taken as it is.
  TPinnedFolders* linkFree = nullptr;
};

// What a caller asks of a whole-file read.
struct TWholeFileRead {
  // A larger file is not read: ERROR_FILE_TOO_LARGE.
  std::uint64_t maxSize = UINT64_MAX;
  // As for TWholeFileWrite.
  TPinnedFolders* linkFree = nullptr;
};

// Reads the whole file into bytes.
DWORD ReadWholeFile(const std::string& path, std::string& bytes, const TWholeFileRead& how = {});

// The system's text for an error code of the functions here, without its line end; the
// program's own refusal of a link speaks for itself.
std::string SystemReason(DWORD error);
inline constexpr char kLinkNotFollowedText[] = USER_TEXT(
    "The path passes through a link (junction or symbolic link) that setup does not follow in "
    "the shared data folder.");

// Writes bytes to path whole or not at all. The bytes go to a fresh name beside path
// (path + "." + a random part + ".new", created exclusively: a name that is taken is never
// opened, another is tried), which is marked for deletion from its creation until it is
// moved over path, so a process killed midway leaves nothing of it behind. An existing target
// hands its permissions, attributes and creation time to the new file first. A read-only,
// hidden or system target is refused (ERROR_ACCESS_DENIED), as Windows refuses to create one
// anew. Missing folders are made only when asked (else ERROR_PATH_NOT_FOUND). After any
// failure the fresh file is gone and an existing target is as it was.
DWORD WriteBytesToFile(const std::wstring& path, std::string_view bytes,
                       const TWholeFileWrite& how = {});
DWORD WriteBytesToFile(const std::string& path, std::string_view bytes,
                       const TWholeFileWrite& how = {});

// One write of the whole buffer to an open file. A write that stores fewer bytes than
// asked without an error has not written the file either: ERROR_HANDLE_DISK_FULL.
DWORD WriteWhole(HANDLE file, const void* bytes, DWORD size);

}  // namespace inst
