#include "instutils/Files.h"

#include <aclapi.h>

#include "instutils/Handles.h"
#include "instutils/InstUtils.h"
#include "instutils/PinnedFolders.h"
#include "instutils/Widen.h"

namespace inst {
namespace {

// Targets that are not replaced: Windows refuses to create a file anew over a read-only,
// hidden or system one (Wine run by root would not), and a folder is no file.
constexpr DWORD kRefusedTargets = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
// The attributes a replaced file hands on to the new one; the others are refused above or
// cannot be set.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                  FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;
// How many fresh names beside one target are tried before giving up.
constexpr int kFreshNames = 100;

// A fresh file beside target, created exclusively under the first free name, so a name
// taken by anything (a leftover, a link, even one that points nowhere) is never opened
// through. It shares delete access alone, so that it can be moved while still open; it takes
// the permissions of a file it replaces.
UniqueFile CreateFresh(const std::wstring& target, bool replacing, std::wstring& name) {
  const DWORD access = GENERIC_WRITE | DELETE | (replacing ? WRITE_DAC : 0);
  for (int n = 0; n < kFreshNames; ++n) {
    name = target + (n ? L"." + std::to_wstring(n) : L"") + L".new";
    UniqueFile file(CreateFileW(
        name.c_str(), access, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const DWORD error = GetLastError();
    if (file || (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)) return file;
  }
  return {};
}

// The replaced file's permissions: its own DACL, protected from inheritance when it was.
void CopyPermissions(HANDLE from, HANDLE to) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(from, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                      nullptr, &descriptor) != ERROR_SUCCESS)
    return;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  const SECURITY_INFORMATION which =
      DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                 : UNPROTECTED_DACL_SECURITY_INFORMATION);
  SetSecurityInfo(to, SE_FILE_OBJECT, which, nullptr, nullptr, dacl, nullptr);
  LocalFree(descriptor);
}

// What the new file takes before it replaces target: the replaced file's permissions,
// attributes and creation time, and the last-write time asked for. Best effort.
void SetIdentity(HANDLE fresh, const std::wstring& target, bool replacing,
                 const FILETIME* lastWriteTime) {
  FILE_BASIC_INFO basic{};
  if (replacing) {
    // The name's own entry: a link at the target is replaced as a name, so it is what counts.
    UniqueFile old(CreateFileW(target.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (old) {
      CopyPermissions(old.get(), fresh);
      FILE_BASIC_INFO own;
      if (GetFileInformationByHandleEx(old.get(), FileBasicInfo, &own, sizeof own)) {
        basic.CreationTime = own.CreationTime;
        basic.FileAttributes = own.FileAttributes & kKeptAttributes;
      }
    }
  }
  if (lastWriteTime) {
    basic.LastWriteTime.LowPart = lastWriteTime->dwLowDateTime;
    basic.LastWriteTime.HighPart = static_cast<LONG>(lastWriteTime->dwHighDateTime);
  }
  // Zero fields are left as they are.
  SetFileInformationByHandle(fresh, FileBasicInfo, &basic, sizeof basic);
}

DWORD WriteFresh(const std::wstring& target, std::string_view bytes, const TWholeFileWrite& how) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
  if (replacing && (attributes & kRefusedTargets)) return ERROR_ACCESS_DENIED;
  std::wstring fresh;
  UniqueFile file = CreateFresh(target, replacing, fresh);
  if (!file) return GetLastError();
  DWORD error = WriteWhole(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()));
  if (!error && how.flush && !FlushFileBuffers(file.get())) error = GetLastError();
  if (!error) SetIdentity(file.get(), target, replacing, how.lastWriteTime);
  if (!error && !MoveFileExW(fresh.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | (how.flush ? MOVEFILE_WRITE_THROUGH : 0)))
    error = GetLastError();
  if (error) {
    // Removed through the handle: whatever may stand at its name by now is not touched.
    FILE_DISPOSITION_INFO gone{TRUE};
    SetFileInformationByHandle(file.get(), FileDispositionInfo, &gone, sizeof gone);
  }
  return error;
}

// When path lies below a folder that every user may write to, pins the folders on its way
// and checks its own name; nothing to do otherwise.
DWORD GuardPath(const std::string& path, const std::string& linkFreeFrom, bool make,
                TPinnedFolders& pinned) {
  if (!LiesBelow(path, linkFreeFrom)) return ERROR_SUCCESS;
  if (const DWORD error = pinned.Pin(linkFreeFrom, FolderPart(path), make)) return error;
  return CheckNotLinked(path);
}

}  // namespace

DWORD ReadWholeFile(const std::string& path, std::string& bytes, const TWholeFileRead& how) {
  TPinnedFolders pinned;
  if (const DWORD error = GuardPath(path, how.linkFreeFrom, false, pinned)) return error;
  UniqueFile file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return GetLastError();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return GetLastError();
  if (static_cast<std::uint64_t>(size.QuadPart) > how.maxSize) return ERROR_FILE_TOO_LARGE;
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
  return WriteBytesToFile(Widen(path), bytes, how);
}

DWORD WriteBytesToFile(const std::wstring& wide, std::string_view bytes,
                       const TWholeFileWrite& how) {
  // The guard and the folder maker take ANSI paths; a character the code page lacks
  // becomes "?", which names no folder, so they refuse rather than go elsewhere.
  const std::string path = Narrow(wide);
  TPinnedFolders pinned;
  if (const DWORD error = GuardPath(path, how.linkFreeFrom, how.makeFolders, pinned)) return error;
  DWORD error = WriteFresh(wide, bytes, how);
  if (error == ERROR_PATH_NOT_FOUND && how.makeFolders && !LiesBelow(path, how.linkFreeFrom)) {
    // Only a missing folder costs a walk up the path.
    MakeFolders(FolderPart(path));
    error = WriteFresh(wide, bytes, how);
  }
  return error;
}

DWORD WriteWhole(HANDLE file, const void* bytes, DWORD size) {
  DWORD written = 0;
  if (!WriteFile(file, bytes, size, &written, nullptr)) return GetLastError();
  return written == size ? ERROR_SUCCESS : ERROR_HANDLE_DISK_FULL;
}

std::string SystemReason(DWORD error) {
  if (error == kLinkNotFollowed) return kLinkNotFollowedText;
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string reason = n ? std::string(text, n) : "Error " + std::to_string(error) + ".";
  LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
    reason.pop_back();
  return reason;
}

}  // namespace inst
