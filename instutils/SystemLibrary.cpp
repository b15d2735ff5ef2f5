#include "instutils/SystemLibrary.h"

#include <string>

namespace inst {

void RestrictDllSearchToSystemFolder() {
  // Present from Windows 8 on, and on Windows 7 with its loader update; looked up, not
  // imported, so the program still starts without it.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  if (auto setDefault = SystemProc<SetDefaultDllDirectoriesFn>("kernel32.dll", "SetDefaultDllDirectories")) {
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  SetDllDirectoryA("");  // also drops the current folder from the older search order
}

HMODULE LoadSystemLibrary(const char* name) {
  if (HMODULE m = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return m;
  // Systems without the search flags: name the system folder in full.
  char dir[MAX_PATH];
  const UINT n = GetSystemDirectoryA(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  const std::string path = std::string(dir, n) + "\\" + name;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace inst
