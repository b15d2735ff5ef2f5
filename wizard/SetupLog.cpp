#include "wizard/SetupLog.h"

#include <cstring>
#include <optional>
#include <tuple>

#include "instutils/Files.h"
#include "instutils/Handles.h"
#include "instutils/InstUtils.h"
#include "instutils/PinnedFolders.h"
#include "instutils/Widen.h"

namespace wizard {

TSetupLog* SetupLog = nullptr;

namespace {

// The path made absolute as the system resolves it (".." and "." gone, trailing dots and
// blanks dropped); empty when it cannot be.
std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  full.resize(length < needed ? length : 0);
  return full;
}

// The volume and the file index of an existing file or folder: the same for every name it
// has (a short name, a hard link, a link followed to it).
std::optional<std::tuple<DWORD, DWORD, DWORD>> Identity(const std::wstring& path) {
  inst::UniqueFile file(CreateFileW(path.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  return std::make_tuple(info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
  const std::wstring fullA = FullPath(a), fullB = FullPath(b);
  if (!fullA.empty() && CompareStringOrdinal(fullA.c_str(), -1, fullB.c_str(), -1, TRUE) == CSTR_EQUAL)
    return true;
  const auto idA = Identity(a);
  return idA && idA == Identity(b);
}

std::wstring ThisProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

}  // namespace

void TSetupLog::Add(const std::string& line) { Add(inst::Widen(line)); }

void TSetupLog::Add(const std::wstring& line) { text_ += inst::NarrowUtf8(line) + "\r\n"; }

void TSetupLog::Protect(const std::wstring& path) { protected_.push_back(path); }

DWORD TSetupLog::Save(const std::wstring& path) const {
  // A path the system could not take anyway, or with an empty level, is refused before
  // anything is looked at, so a path of any size costs nothing.
  if (path.size() > kLongestPath || path.find(L"\\\\", 1) != std::wstring::npos)
    return ERROR_BAD_PATHNAME;
  if (SameFile(path, ThisProgram())) return ERROR_ACCESS_DENIED;
  for (const std::wstring& kept : protected_)
    if (SameFile(path, kept)) return ERROR_ACCESS_DENIED;
  // Below the shared data folder the log is written like the records there: no link is
  // followed, and the folders it makes are made through the checked ones.
  const inst::TSharedFolders shared(nullptr);
  return inst::WriteBytesToFile(path, text_, {.makeFolders = true, .linkFree = shared.get()});
}

void Log(const std::string& line) {
  if (SetupLog) SetupLog->Add(line);
}

void Log(const std::wstring& line) {
  if (SetupLog) SetupLog->Add(line);
}

void ProtectFromLog(const std::string& path) {
  if (SetupLog) SetupLog->Protect(inst::Widen(path));
}

std::string FailureText(DWORD error) {
  return "failed: " + inst::SystemReason(error) + " (error " + std::to_string(error) + ")";
}

std::string ProgramVersion() {
  // The fixed part of the version resource, found by its signature; read without the
  // version library, which the program does not load.
  const HMODULE self = GetModuleHandleA(nullptr);
  const HRSRC res = FindResourceA(self, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
  const auto* bytes = static_cast<const BYTE*>(res ? LockResource(LoadResource(self, res)) : nullptr);
  const DWORD size = res ? SizeofResource(self, res) : 0;
  for (DWORD at = 0; bytes && at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, bytes + at, sizeof info);
    if (info.dwSignature != 0xFEEF04BD) continue;
    return std::to_string(HIWORD(info.dwFileVersionMS)) + "." +
           std::to_string(LOWORD(info.dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info.dwFileVersionLS)) + "." +
           std::to_string(LOWORD(info.dwFileVersionLS));
  }
  return "unknown";
}

}  // namespace wizard
