// DLLs that are not among the system's known DLLs are loaded only from the system folder,
// never from the folder that holds Setup.exe (a downloads folder may hold planted DLLs).
#pragma once

#include <windows.h>

namespace inst {

// Restricts the process's DLL search to the system folder. Called first thing at start-up.
void RestrictDllSearchToSystemFolder();

// Loads a DLL from the system folder (kept for the life of the process); nullptr on failure.
HMODULE LoadSystemLibrary(const char* name);

// A system function looked up at run time (one that older Windows lacks), from a DLL of
// the system folder: GetProcAddress on LoadSystemLibrary(library); nullptr when either fails.
template <typename F>
F SystemProc(const char* library, const char* proc) {
  HMODULE m = LoadSystemLibrary(library);
  return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, proc))) : nullptr;
}

}  // namespace inst
