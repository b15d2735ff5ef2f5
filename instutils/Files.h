// Whole files: read in one go, and written whole or not at all, an existing file replaced
// by one written beside it and moved over it, so that a full disk or a failed write never
// leaves a file cut short. Results are the system's error codes (ERROR_SUCCESS when done), for
// each caller to handle by its own rule; nothing here raises or shows anything.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace inst {

// What a caller asks of a whole-file write besides the bytes.
struct TWholeFileWrite {
  // Given to the new file as its last-write time, on the handle that wrote it (the move
  // keeps it). Best effort: a time that cannot be set leaves the time of writing.
  const FILETIME* lastWriteTime = nullptr;
  // The bytes reach the disk before the file replaces the target.
  bool flush = false;
};

// The name the new contents are written under before they replace path: beside it, and
// never ending in the target's own name.
std::string FreshFileName(const std::string& path);

// Reads the whole file into bytes.
DWORD ReadWholeFile(const std::string& path, std::string& bytes);

// Writes bytes to path whole or not at all. An existing file is replaced in one step: the
// bytes go to FreshFileName(path) (created exclusively; a leftover of that name is
// removed first), which is then moved over path. Without one, path is created
// exclusively and written. A read-only target is refused (ERROR_ACCESS_DENIED), as
// Windows refuses to open one for writing. Missing folders are not made
// (ERROR_PATH_NOT_FOUND). After any failure no new file is left and an existing target is
// as it was.
DWORD WriteBytesToFile(const std::string& path, std::string_view bytes,
                       const TWholeFileWrite& how = {});

// One write of the whole buffer to an open file. A write that stores fewer bytes than
// asked without an error has not written the file either: ERROR_HANDLE_DISK_FULL.
DWORD WriteWhole(HANDLE file, const void* bytes, DWORD size);

}  // namespace inst
