#include "instutils/Files.h"

#include <aclapi.h>
#include <ntsecapi.h>

#include <cstddef>
#include <cstring>
#include <vector>

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
// How many random fresh names beside one target are tried before giving up: only a name
// taken by chance is passed over, since nobody can know the names in advance.
constexpr int kFreshNames = 16;

// A random part for a fresh name, from the system's random numbers (the counter and the
// process as a last resort: the name is still created exclusively).
std::wstring RandomPart() {
  unsigned long long value = 0;
  if (!RtlGenRandom(&value, sizeof value)) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    value = static_cast<unsigned long long>(now.QuadPart) * 0x9E3779B97F4A7C15ull ^ GetCurrentProcessId();
  }
  wchar_t digits[17];
  for (int i = 15; i >= 0; --i, value >>= 4) digits[i] = L"0123456789abcdef"[value & 15];
  digits[16] = L'\0';
  return digits;
}

bool MarkForDeletion(HANDLE file, bool gone) {
  FILE_DISPOSITION_INFO disposition{gone};
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// A fresh file beside target, created exclusively under a random name, so a name taken by
// anything (a leftover, a link, even one that points nowhere) is never opened through, and
// marked for deletion at once. It shares delete access alone, so that it can be moved while
// still open; it takes the permissions of a file it replaces.
UniqueFile CreateFresh(const std::wstring& target, bool replacing, std::wstring& name) {
  const DWORD access = GENERIC_WRITE | DELETE | (replacing ? WRITE_DAC : 0);
  for (int n = 0; n < kFreshNames; ++n) {
    name = target + L"." + RandomPart() + L".new";
    UniqueFile file(CreateFileW(
        name.c_str(), access, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const DWORD error = GetLastError();
    if (file) {
      if (MarkForDeletion(file.get(), true)) return file;
      const DWORD refused = GetLastError();
      DeleteFileW(name.c_str());  // made in this run a moment ago, not yet writable by others
      SetLastError(refused);
      return {};
    }
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return file;
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
  const UniqueLocal owned(descriptor);
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  const SECURITY_INFORMATION which =
      DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                 : UNPROTECTED_DACL_SECURITY_INFORMATION);
  SetSecurityInfo(to, SE_FILE_OBJECT, which, nullptr, nullptr, dacl, nullptr);
}

// What the new file takes before it replaces the target (old: the target's own entry, a
// link as the link, since it is replaced as a name): its permissions, attributes and
// creation time, and the last-write time asked for. Best effort.
void SetIdentity(HANDLE fresh, const TCheckedEntry& old, const FILETIME* lastWriteTime) {
  FILE_BASIC_INFO basic{};
  if (old.handle) {
    CopyPermissions(old.handle.get(), fresh);
    FILE_BASIC_INFO own;
    if (GetFileInformationByHandleEx(old.handle.get(), FileBasicInfo, &own, sizeof own)) {
      basic.CreationTime = own.CreationTime;
      basic.FileAttributes = own.FileAttributes & kKeptAttributes;
    }
  }
  if (lastWriteTime) {
    basic.LastWriteTime.LowPart = lastWriteTime->dwLowDateTime;
    basic.LastWriteTime.HighPart = static_cast<LONG>(lastWriteTime->dwHighDateTime);
  }
  // Zero fields are left as they are.
  SetFileInformationByHandle(fresh, FileBasicInfo, &basic, sizeof basic);
}

// The NT name of a full path (C:\dir\name, \\server\share\name or \\?\ before either), as a
// rename by handle takes it; empty for any other form.
std::wstring NtName(const std::wstring& path) {
  if (path.starts_with(L"\\\\?\\")) return L"\\??\\" + path.substr(4);
  if (path.starts_with(L"\\\\") && !path.starts_with(L"\\\\.\\")) return L"\\??\\UNC\\" + path.substr(2);
  if (path.size() > 2 && path[1] == L':' && path[2] == L'\\') return L"\\??\\" + path;
  return {};
}

// Moves the fresh file over the target through the handle that wrote it: the file that lands
// is the one written, whatever was done to its name meanwhile (it shares delete access, so
// others may rename it). A path of another form is moved by name.
bool MoveOver(HANDLE file, const std::wstring& fresh, const std::wstring& target, bool flush) {
  const std::wstring name = NtName(target);
  if (name.empty())
    return MoveFileExW(fresh.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | (flush ? MOVEFILE_WRITE_THROUGH : 0));
  const DWORD bytes = static_cast<DWORD>(name.size() * sizeof(wchar_t));
  std::vector<unsigned char> buffer(offsetof(FILE_RENAME_INFO, FileName) + bytes + sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->FileNameLength = bytes;
  std::memcpy(rename->FileName, name.c_str(), bytes + sizeof(wchar_t));
  if (!SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())))
    return false;
  if (flush) FlushFileBuffers(file);  // the new name on the disk too; the move itself is done
  return true;
}

DWORD WriteFresh(const std::wstring& target, std::string_view bytes, const TWholeFileWrite& how,
                 bool guarded) {
  // One look at the target serves the link check, the refusal and the identity it hands on.
  TCheckedEntry old = CheckEntry(target, guarded);
  if (old.error && !IsMissing(old.error)) return old.error;
  if (!old.error && (old.attributes & kRefusedTargets)) return ERROR_ACCESS_DENIED;
  std::wstring fresh;
  UniqueFile file = CreateFresh(target, !old.error, fresh);
  if (!file) return GetLastError();
  DWORD error = WriteWhole(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()));
  if (!error && how.flush && !FlushFileBuffers(file.get())) error = GetLastError();
  if (error) return error;  // the file goes with its handle
  SetIdentity(file.get(), old, how.lastWriteTime);
  old.handle.reset();  // an open target cannot be replaced under Wine, whatever it shares
  // Kept from here on: the move follows at once.
  if (!MarkForDeletion(file.get(), false)) return GetLastError();
  if (!MoveOver(file.get(), fresh, target, how.flush)) {
    error = GetLastError();
    MarkForDeletion(file.get(), true);  // through the handle: nothing else at its name is touched
  }
  return error;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\:");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

}  // namespace

DWORD ReadWholeFile(const std::string& path, std::string& bytes, const TWholeFileRead& how) {
  const std::wstring name = Widen(path);
  if (how.linkFree && how.linkFree->Guards(name)) {
    if (const DWORD error = how.linkFree->Pin(FolderOf(name), false)) return error;
    const TCheckedEntry entry = CheckEntry(name, true);
    if (entry.error && !IsMissing(entry.error)) return entry.error;
  }
  UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return GetLastError();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return GetLastError();
  if (static_cast<std::uint64_t>(size.QuadPart) > how.maxSize) return ERROR_FILE_TOO_LARGE;
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  // One read for the size asked, then to the end: the file may have grown meanwhile.
  std::size_t have = 0;
  for (;;) {
    if (have == bytes.size()) bytes.resize(have + 64 * 1024);
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + have, static_cast<DWORD>(bytes.size() - have), &got,
                  nullptr))
      return GetLastError();
    if (got == 0) break;
    have += got;
    if (have > how.maxSize) return ERROR_FILE_TOO_LARGE;
  }
  bytes.resize(have);
  return ERROR_SUCCESS;
}

DWORD WriteBytesToFile(const std::wstring& path, std::string_view bytes,
                       const TWholeFileWrite& how) {
  const bool guarded = how.linkFree && how.linkFree->Guards(path);
  if (guarded) {
    if (const DWORD error = how.linkFree->Pin(FolderOf(path), how.makeFolders)) return error;
  }
  DWORD error = WriteFresh(path, bytes, how, guarded);
  if (error == ERROR_PATH_NOT_FOUND && how.makeFolders && !guarded) {
    // Only a missing folder costs a walk up the path.
    MakeFolders(FolderOf(path));
    error = WriteFresh(path, bytes, how, guarded);
  }
  return error;
}

DWORD WriteBytesToFile(const std::string& path, std::string_view bytes,
                       const TWholeFileWrite& how) {
  return WriteBytesToFile(Widen(path), bytes, how);
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
  const UniqueLocal owned(text);
  std::string reason = n ? std::string(text, n) : "Error " + std::to_string(error) + ".";
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
    reason.pop_back();
  return reason;
}

}  // namespace inst
