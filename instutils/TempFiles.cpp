#include "instutils/TempFiles.h"

#include <windows.h>

#include "instutils/Handles.h"
#include "instutils/InstUtils.h"
#include "instutils/SetupTitle.h"
#include "instutils/Widen.h"

namespace inst {

std::string TempFilePrefix() {
  std::string prefix = "~";
  // Only the 52 ASCII letters count; no locale-dependent letter test.
  for (const char c : std::string(kSetupTitle))
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) prefix += c;
  return prefix;
}

std::string NewTempFileName() {
  const std::string base = TempFolder() + TempFilePrefix();
  for (unsigned n = 0;; ++n) {
    const std::string candidate = base + std::to_string(n) + ".tmp";
    // Created here and only if new: a name that something took in the meantime (a file,
    // a folder, a link, even one that points nowhere) is never opened through.
    const std::wstring wide = Widen(candidate);
    if (UniqueFile(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr)))
      return candidate;
    const DWORD error = GetLastError();
    const bool taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                       GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
    // Nowhere to create it (no such folder, no right to write there): the caller's write
    // meets the same failure and reports it.
    if (!taken) return candidate;
  }
}

void CleanTempFiles() {
  const std::string folder = TempFolder();
  const std::string prefix = TempFilePrefix();
  WIN32_FIND_DATAA entry;
  UniqueFind find(FindFirstFileA((folder + "*.*").c_str(), &entry));
  if (!find) return;
  do {
    const std::string name = entry.cFileName;
    if (name.compare(0, prefix.size(), prefix) != 0) continue;  // "." and ".." too
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      DeleteFolderTree(folder + name);
    else
      DeleteFileW(Widen(folder + name).c_str());
  } while (FindNextFileA(find.get(), &entry));
}

}  // namespace inst
