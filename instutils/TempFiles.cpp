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
    if (!FileExists(candidate)) return candidate;
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
