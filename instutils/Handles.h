// RAII owners for the Windows handles the program uses. Each closes its handle once,
// moves but never copies, and treats the handle's own "none" value as empty.
#pragma once

#include <windows.h>

#include <utility>

namespace inst {

template <typename H, H None, BOOL(WINAPI* Close)(H)>
class UniqueOwner {
 public:
  UniqueOwner() = default;
  explicit UniqueOwner(H h) : h_(h) {}
  UniqueOwner(UniqueOwner&& o) noexcept : h_(std::exchange(o.h_, None)) {}
  UniqueOwner& operator=(UniqueOwner&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, None));
    return *this;
  }
  UniqueOwner(const UniqueOwner&) = delete;
  UniqueOwner& operator=(const UniqueOwner&) = delete;
  ~UniqueOwner() { reset(); }

  H get() const { return h_; }
  explicit operator bool() const { return h_ != None; }
  H release() { return std::exchange(h_, None); }
  void reset(H h = None) {
    if (h_ != None) Close(h_);
    h_ = h;
  }

 private:
  H h_ = None;
};

inline BOOL WINAPI CloseFind(HANDLE h) { return FindClose(h); }
inline BOOL WINAPI CloseLibrary(HMODULE h) { return FreeLibrary(h); }
inline BOOL WINAPI CloseKey(HKEY h) { return RegCloseKey(h) == ERROR_SUCCESS; }
inline BOOL WINAPI CloseGdiObject(HGDIOBJ h) { return DeleteObject(h); }

// A file or device handle (CreateFile gives INVALID_HANDLE_VALUE on failure).
using UniqueFile = UniqueOwner<HANDLE, INVALID_HANDLE_VALUE, CloseHandle>;
// A directory enumeration (FindFirstFile).
using UniqueFind = UniqueOwner<HANDLE, INVALID_HANDLE_VALUE, CloseFind>;
using UniqueLibrary = UniqueOwner<HMODULE, nullptr, CloseLibrary>;
using UniqueKey = UniqueOwner<HKEY, nullptr, CloseKey>;
using UniqueGdiObject = UniqueOwner<HGDIOBJ, nullptr, CloseGdiObject>;

}  // namespace inst
