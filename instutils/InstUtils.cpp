#include "instutils/InstUtils.h"

#include <windows.h>
#include <winioctl.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

#include "instutils/DateTime.h"
#include "instutils/Handles.h"
#include "instutils/PinnedFolders.h"
#include "instutils/SystemLibrary.h"
#include "instutils/Widen.h"

namespace inst {

bool InstallStarted = false;

namespace {

using SHGetFolderPathAFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

// Resolved once by InitializeInstUtils; null when neither library supplies it.
SHGetFolderPathAFn shGetFolderPath = nullptr;
bool oleInitialized = false;

// The folders saved by PushCurrentFolder; created by the first push.
std::unique_ptr<std::vector<std::string>> folderStack;

// The storage property query of IOCTL_STORAGE_QUERY_PROPERTY and the parts of its answer
// that tell an external disk.
constexpr DWORD kStorageDeviceProperty = 0;
constexpr DWORD kPropertyStandardQuery = 0;
constexpr std::size_t kQueryInputSize = 12;
constexpr std::size_t kDescriptorBufferSize = 548;  // 36-byte header + 512 bytes of raw properties
constexpr std::size_t kSizeFieldOffset = 4;
constexpr std::size_t kRemovableMediaOffset = 10;
constexpr std::size_t kBusTypeOffset = 28;
constexpr std::uint32_t kBusType1394 = 4;
constexpr std::uint32_t kBusTypeUsb = 7;

static_assert(offsetof(STORAGE_DEVICE_DESCRIPTOR, Size) == kSizeFieldOffset);
static_assert(offsetof(STORAGE_DEVICE_DESCRIPTOR, RemovableMedia) == kRemovableMediaOffset);
static_assert(offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) == kBusTypeOffset);
static_assert(sizeof(STORAGE_PROPERTY_QUERY) == kQueryInputSize);
static_assert(IOCTL_STORAGE_QUERY_PROPERTY == 0x2D1400);

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The wide path in the ANSI code page, or empty text when one of its characters has no
// place there: the narrow calls would turn it into "?" or a look-alike letter and so name
// another folder.
std::string NarrowExactly(const std::wstring& wide) {
  bool lossy = false;
  std::string narrow = Narrow(wide, &lossy);
  return lossy ? std::string() : narrow;
}

// A wide text fetched the platform's way: asked for its size (counting the NUL), then read.
template <typename Fetch>
std::wstring FetchWide(Fetch fetch) {
  const DWORD needed = fetch(nullptr, 0);
  std::wstring text(needed, L'\0');
  const DWORD length = needed ? fetch(text.data(), needed) : 0;
  text.resize(length < needed ? length : 0);  // the length without the NUL, or a failure
  return text;
}

// The platform's temporary folder as narrow text that names it: what GetTempPathA gives
// where the folder's name fits the ANSI code page, else its short name (a user folder with
// a Latvian letter on a Western system). Empty when neither names it (a volume that keeps
// no short names).
std::string NarrowTempPath() {
  const std::wstring wide =
      FetchWide([](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
  if (std::string narrow = NarrowExactly(wide); !narrow.empty()) return narrow;
  if (wide.empty()) return {};
  return NarrowExactly(FetchWide([&](wchar_t* buffer, DWORD size) {
    return GetShortPathNameW(wide.c_str(), buffer, size);
  }));
}

}  // namespace

void InitializeInstUtils() {
  RefuseUntrustedJunctions();
  oleInitialized = SUCCEEDED(OleInitialize(nullptr));
  shGetFolderPath = SystemProc<SHGetFolderPathAFn>("shell32.dll", "SHGetFolderPathA");
  if (!shGetFolderPath)
    shGetFolderPath = SystemProc<SHGetFolderPathAFn>("shfolder.dll", "SHGetFolderPathA");
}

void FinalizeInstUtils() {
  folderStack.reset();
  shGetFolderPath = nullptr;
  if (oleInitialized) OleUninitialize();
  oleInitialized = false;
}

void IncludeBackslash(std::string& path) {
  if (path.empty()) return;
  if (IsSeparator(path.back()))
    path.back() = '\\';
  else
    path += '\\';
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  std::string result = folder;
  IncludeBackslash(result);
  return result + name;
}

char LastChar(const std::string& text) { return text.empty() ? '\0' : text.back(); }

void DeleteFirstChar(std::string& text) {
  if (!text.empty()) text.erase(0, 1);
}

void DeleteLastChar(std::string& text) {
  if (!text.empty()) text.pop_back();
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  std::string upperA = a, upperB = b;
  // The platform's ANSI upper-casing also maps the code page's accented letters.
  if (!upperA.empty()) CharUpperBuffA(upperA.data(), static_cast<DWORD>(upperA.size()));
  if (!upperB.empty()) CharUpperBuffA(upperB.data(), static_cast<DWORD>(upperB.size()));
  return upperA == upperB;
}

std::string FolderPart(const std::string& path) {
  const std::size_t last = path.find_last_of("\\:");
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string CurrentFolder() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);  // counts the terminating NUL
  std::string folder(needed, '\0');
  const DWORD length = needed ? GetCurrentDirectoryA(needed, folder.data()) : 0;
  // A successful fetch returns the length without the NUL; anything else is a failure.
  folder.resize(length < needed ? length : 0);
  IncludeBackslash(folder);
  return folder;
}

void PushCurrentFolder() {
  if (!folderStack) folderStack = std::make_unique<std::vector<std::string>>();
  folderStack->push_back(CurrentFolder());
}

void PopCurrentFolder() {
  if (!folderStack || folderStack->empty()) return;
  SetCurrentDirectoryA(folderStack->back().c_str());
  folderStack->pop_back();
}

std::string TempFolder() {
  std::string folder = NarrowTempPath();
  if (!FolderExists(folder)) folder = GetSpecialFolder(CSIDL_PERSONAL);
  IncludeBackslash(folder);
  return folder;
}

std::string GetSpecialFolder(int csidl) {
  if (!shGetFolderPath) return {};
  std::string folder(MAX_PATH, '\0');
  if (shGetFolderPath(nullptr, csidl, nullptr, 0, folder.data()) != S_OK) return {};
  folder.resize(std::strlen(folder.c_str()));
  return folder;
}

bool FolderExists(const std::string& path) {
  // Entering the folder is the test: the current folder then reads back as the path.
  PushCurrentFolder();
  std::string folder = path;
  IncludeBackslash(folder);
  SetCurrentDirectoryA(folder.c_str());
  const bool exists = SameName(CurrentFolder(), folder);
  PopCurrentFolder();
  return exists;
}

namespace {

// The last-write time of a found entry as GetFileDate gives it.
double FoundDate(const WIN32_FIND_DATAA& found) {
  FILETIME local;
  WORD dosDate = 0, dosTime = 0;
  if (!FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) ||
      !FileTimeToDosDateTime(&local, &dosDate, &dosTime))
    return 0.0;  // outside the FAT range: a value no stored entry date (1980 on) can equal
  return DosDateTimeToDate(dosDate, dosTime);
}

bool FindEntry(const std::string& path, WIN32_FIND_DATAA& found) {
  return static_cast<bool>(UniqueFind(FindFirstFileA(path.c_str(), &found)));
}

}  // namespace

double GetFileDate(const std::string& path) {
  WIN32_FIND_DATAA found;
  return FindEntry(path, found) ? FoundDate(found) : NowAsDateTime();
}

bool FindFileDate(const std::string& path, double& date) {
  WIN32_FIND_DATAA found;
  if (!FindEntry(path, found) || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  date = FoundDate(found);
  return true;
}

std::string DrivePart(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    // \\server\share: up to, not including, the backslash after the share name.
    const std::size_t serverEnd = path.find('\\', 2);
    if (serverEnd == std::string::npos) return path;
    const std::size_t shareEnd = path.find('\\', serverEnd + 1);
    return shareEnd == std::string::npos ? path : path.substr(0, shareEnd);
  }
  return {};
}

unsigned DriveKind(const std::string& path) {
  std::string root = DrivePart(path);
  IncludeBackslash(root);
  return GetDriveTypeA(root.c_str());
}

bool IsExternalDescriptor(const std::uint8_t* descriptor, std::size_t size) {
  if (!descriptor || size < kBusTypeOffset + sizeof(std::uint32_t)) return false;
  std::uint32_t busType = 0;
  std::memcpy(&busType, descriptor + kBusTypeOffset, sizeof busType);
  return busType == kBusType1394 || busType == kBusTypeUsb ||
         descriptor[kRemovableMediaOffset] != 0;
}

bool IsExternalDrive(const std::string& path) {
  const unsigned kind = DriveKind(path);
  if (kind == DRIVE_REMOVABLE) return true;
  if (kind != DRIVE_FIXED) return false;

  UniqueFile volume(CreateFileW(Widen("\\\\.\\" + DrivePart(path)).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
  if (!volume) return false;

  std::uint8_t query[kQueryInputSize] = {};
  std::memcpy(query, &kStorageDeviceProperty, sizeof(DWORD));
  std::memcpy(query + 4, &kPropertyStandardQuery, sizeof(DWORD));

  std::uint8_t descriptor[kDescriptorBufferSize] = {};
  const DWORD bufferSize = kDescriptorBufferSize;
  std::memcpy(descriptor + kSizeFieldOffset, &bufferSize, sizeof bufferSize);
  DWORD outputLength = 0;
  std::memcpy(&outputLength, descriptor + kSizeFieldOffset, sizeof outputLength);

  DWORD returned = 0;
  if (!DeviceIoControl(volume.get(), IOCTL_STORAGE_QUERY_PROPERTY, query, sizeof query,
                       descriptor, outputLength, &returned, nullptr))
    return false;
  return IsExternalDescriptor(descriptor, sizeof descriptor);
}

void MakeFolders(const std::string& path) {
  if (!path.empty()) MakeFolders(Widen(path));
}

void MakeFolders(const std::wstring& path) {
  // One copy of the path, whatever its depth; each level is named by ending it at its
  // backslash in place. The levels are looked at from the deepest up to the first that
  // exists, then made downwards.
  std::wstring name = path;
  while (!name.empty() && name.back() == L'\\') name.pop_back();
  const auto isFolder = [&](std::size_t end) {
    const wchar_t cut = name[end];
    name[end] = L'\0';
    const DWORD attributes = GetFileAttributesW(name.c_str());
    name[end] = cut;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  };
  std::vector<std::size_t> missing;
  for (std::size_t end = name.size(); end > 0 && name[end - 1] != L':' && !isFolder(end);) {
    missing.push_back(end);
    const std::size_t slash = name.find_last_of(L'\\', end - 1);
    if (slash == std::wstring::npos) break;
    end = name.find_last_not_of(L'\\', slash);
    end = end == std::wstring::npos ? 0 : end + 1;
  }
  for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
    const wchar_t cut = name[*level];
    name[*level] = L'\0';
    CreateDirectoryW(name.c_str(), nullptr);
    name[*level] = cut;
  }
}

void DeleteFolderTree(std::string path) {
  // Empty text would name the current folder's contents ("*.*"), never a tree to remove.
  if (path.empty()) return;
  // A link (junction or symbolic link), given at the top or met inside the tree, is
  // removed as a link and never entered: what it points at is not part of the tree. The
  // name is asked without a trailing separator, which would be looked up through the link.
  std::string bare = path;
  if (IsSeparator(bare.back())) bare.pop_back();
  const DWORD self = GetFileAttributesW(Widen(bare).c_str());
  if (self != INVALID_FILE_ATTRIBUTES && (self & FILE_ATTRIBUTE_REPARSE_POINT)) {
    RemoveDirectoryW(Widen(bare).c_str());
    return;
  }
  IncludeBackslash(path);
  {
    WIN32_FIND_DATAA entry;
    UniqueFind find(FindFirstFileA((path + "*.*").c_str(), &entry));
    if (find) {
      do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string full = path + name;
        const DWORD attributes = entry.dwFileAttributes;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
          DeleteFileW(Widen(full).c_str());
        else
          DeleteFolderTree(full);  // a link among them is told at the top of that call
      } while (FindNextFileA(find.get(), &entry));
    }
  }
  RemoveDirectoryW(Widen(path).c_str());
}

double NowAsDateTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  DateTimeParts parts;
  parts.year = now.wYear;
  parts.month = now.wMonth;
  parts.day = now.wDay;
  parts.hour = now.wHour;
  parts.minute = now.wMinute;
  parts.second = now.wSecond;
  return EncodeDateTime(parts) + now.wMilliseconds / 86400000.0;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace inst
