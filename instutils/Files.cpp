#include "instutils/Files.h"

#include "instutils/Handles.h"
#include "instutils/Widen.h"

namespace inst {
namespace {

HANDLE CreateNew(const std::wstring& name) {
  return CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// The whole of a write into a file it created; the file is closed whatever happens.
DWORD WriteAndClose(UniqueFile& file, std::string_view bytes, const TWholeFileWrite& how) {
  DWORD error = WriteWhole(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()));
  if (!error && how.flush && !FlushFileBuffers(file.get())) error = GetLastError();
  if (!error && how.lastWriteTime) SetFileTime(file.get(), nullptr, nullptr, how.lastWriteTime);
  file.reset();
  return error;
}

}  // namespace

std::string FreshFileName(const std::string& path) { return path + ".new"; }

DWORD ReadWholeFile(const std::string& path, std::string& bytes) {
  UniqueFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return GetLastError();
  bytes.clear();
  char buffer[64 * 1024];
  DWORD got = 0;
  do {
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return GetLastError();
    bytes.append(buffer, got);
  } while (got > 0);
  return ERROR_SUCCESS;
}

DWORD WriteBytesToFile(const std::string& path, std::string_view bytes,
                       const TWholeFileWrite& how) {
  const std::wstring target = Widen(path);
  // Without an older file there is nothing to keep: the bytes go straight to their name,
  // which goes again when the write fails.
  if (UniqueFile file{CreateNew(target)}) {
    const DWORD error = WriteAndClose(file, bytes, how);
    if (error) DeleteFileW(target.c_str());
    return error;
  }
  if (GetLastError() != ERROR_FILE_EXISTS) return GetLastError();

  // Wine run by root would move over a read-only file; Windows refuses it, and so do we.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return ERROR_ACCESS_DENIED;
  const std::wstring fresh = Widen(FreshFileName(path));
  UniqueFile file(CreateNew(fresh));
  if (!file && GetLastError() == ERROR_FILE_EXISTS) {
    DeleteFileW(fresh.c_str());  // the leftover of a run that was cut off
    file.reset(CreateNew(fresh));
  }
  if (!file) return GetLastError();
  DWORD error = WriteAndClose(file, bytes, how);
  if (!error && !MoveFileExW(fresh.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | (how.flush ? MOVEFILE_WRITE_THROUGH : 0)))
    error = GetLastError();
  if (error) DeleteFileW(fresh.c_str());
  return error;
}

DWORD WriteWhole(HANDLE file, const void* bytes, DWORD size) {
  DWORD written = 0;
  if (!WriteFile(file, bytes, size, &written, nullptr)) return GetLastError();
  return written == size ? ERROR_SUCCESS : ERROR_HANDLE_DISK_FULL;
}

}  // namespace inst
