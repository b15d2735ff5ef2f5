// RAII owners for the Windows handles the program uses. Each closes its handle once,
// moves but never copies, and treats the handle's own "none" value as empty.
#pragma once

#include <windows.h>

#include <utility>

namespace inst {

// Traits: the handle type, its "none" value and how it is closed.
template <typename Traits>
class UniqueOwner {
 public:
  using Handle = typename Traits::Handle;

  UniqueOwner() = default;
  explicit UniqueOwner(Handle h) : h_(h) {}
  UniqueOwner(UniqueOwner&& o) noexcept : h_(std::exchange(o.h_, Traits::None())) {}
  UniqueOwner& operator=(UniqueOwner&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Traits::None()));
    return *this;
  }
  UniqueOwner(const UniqueOwner&) = delete;
  UniqueOwner& operator=(const UniqueOwner&) = delete;
  ~UniqueOwner() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::None(); }
  Handle release() { return std::exchange(h_, Traits::None()); }
  void reset(Handle h = Traits::None()) {
    if (h_ != Traits::None()) Traits::Close(h_);
    h_ = h;
  }

 private:
  Handle h_ = Traits::None();
};

struct FileTraits {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};
struct FindTraits {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};
struct KernelObjectTraits {  // process, thread, event: nullptr when absent
  using Handle = HANDLE;
  static Handle None() { return nullptr; }
  static void Close(Handle h) { CloseHandle(h); }
};
struct LibraryTraits {
  using Handle = HMODULE;
  static Handle None() { return nullptr; }
  static void Close(Handle h) { FreeLibrary(h); }
};
struct KeyTraits {
  using Handle = HKEY;
  static Handle None() { return nullptr; }
  static void Close(Handle h) { RegCloseKey(h); }
};
template <typename T>  // HFONT, HBRUSH, HBITMAP
struct GdiObjectTraits {
  using Handle = T;
  static Handle None() { return nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};
struct LocalMemoryTraits {  // what the system hands over to be freed with LocalFree
  using Handle = HLOCAL;
  static Handle None() { return nullptr; }
  static void Close(Handle h) { LocalFree(h); }
};

// A file or device handle (CreateFile gives INVALID_HANDLE_VALUE on failure).
using UniqueFile = UniqueOwner<FileTraits>;
// A directory enumeration (FindFirstFile).
using UniqueFind = UniqueOwner<FindTraits>;
using UniqueHandle = UniqueOwner<KernelObjectTraits>;
using UniqueLibrary = UniqueOwner<LibraryTraits>;
using UniqueKey = UniqueOwner<KeyTraits>;
using UniqueFont = UniqueOwner<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueOwner<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueOwner<GdiObjectTraits<HBITMAP>>;
// Memory that a system call allocated (FormatMessage's text, a security descriptor).
using UniqueLocal = UniqueOwner<LocalMemoryTraits>;

}  // namespace inst
