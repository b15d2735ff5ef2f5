#include "instutils/PinnedFolders.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <cstring>

#include "instutils/InstUtils.h"
#include "instutils/ProductNames.h"
#include "instutils/SystemLibrary.h"
#include "instutils/Widen.h"

namespace inst {
namespace {

constexpr DWORD kCheckAccess = FILE_READ_ATTRIBUTES | READ_CONTROL;
// A held folder may be read and written in, but not renamed or deleted.
constexpr DWORD kHoldSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kAnySharing = kHoldSharing | FILE_SHARE_DELETE;

// The owners whose links are followed: SYSTEM, TrustedInstaller and the Administrators
// group, the accounts that may change the system anyway.
const char* const kTrustedOwners[] = {
    "S-1-5-18", "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464", "S-1-5-32-544"};

HANDLE OpenEntry(const std::wstring& name, DWORD sharing, bool followLink) {
  return CreateFileW(name.c_str(), kCheckAccess, sharing, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT),
                     nullptr);
}

bool OwnedByTheSystem(HANDLE entry) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(entry, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                      nullptr, &descriptor) != ERROR_SUCCESS)
    return false;
  bool trusted = false;
  char* text = nullptr;
  if (owner && ConvertSidToStringSidA(owner, &text)) {
    for (const char* sid : kTrustedOwners) trusted = trusted || std::strcmp(text, sid) == 0;
    LocalFree(text);
  }
  LocalFree(descriptor);
  return trusted;
}

// Opens the entry of that name and checks it, by name and by its handle: the handle kept is
// the entry itself, or what a followed link leads to.
DWORD OpenChecked(const std::wstring& name, DWORD sharing, UniqueFile& entry) {
  entry.reset(OpenEntry(name, sharing, false));
  if (!entry) return GetLastError();
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(entry.get(), &info)) return GetLastError();
  const DWORD byName = GetFileAttributesW(name.c_str());
  if (byName == INVALID_FILE_ATTRIBUTES) return GetLastError();
  if (!((byName | info.dwFileAttributes) & FILE_ATTRIBUTE_REPARSE_POINT)) return ERROR_SUCCESS;
  const bool trusted = OwnedByTheSystem(entry.get());
  entry.reset(trusted ? OpenEntry(name, sharing, true) : INVALID_HANDLE_VALUE);
  if (!trusted) return kLinkNotFollowed;
  return entry ? ERROR_SUCCESS : GetLastError();
}

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

DWORD TPinnedFolders::Pin(const std::string& top, const std::string& folder, bool make) {
  held_.clear();
  std::size_t end = top.size();
  while (end > 0 && top[end - 1] == '\\') --end;
  for (;;) {
    const std::wstring name = Widen(folder.substr(0, end));
    UniqueFile entry;
    DWORD error = OpenChecked(name, kHoldSharing, entry);
    if (IsMissing(error) && make) {
      CreateDirectoryW(name.c_str(), nullptr);
      error = OpenChecked(name, kHoldSharing, entry);
    }
    if (error) return IsMissing(error) ? ERROR_PATH_NOT_FOUND : error;
    held_.push_back(std::move(entry));
    const std::size_t next = folder.find_first_not_of('\\', end);
    if (next == std::string::npos) return ERROR_SUCCESS;
    end = folder.find('\\', next);
    if (end == std::string::npos) end = folder.size();
  }
}

void RefuseUntrustedJunctions() {
  using SetPolicyFn = BOOL(WINAPI*)(PROCESS_MITIGATION_POLICY, PVOID, SIZE_T);
  const auto setPolicy = SystemProc<SetPolicyFn>("kernel32.dll", "SetProcessMitigationPolicy");
  DWORD enforce = 1;  // PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY: EnforceRedirectionTrust
  if (setPolicy) setPolicy(ProcessRedirectionTrustPolicy, &enforce, sizeof enforce);
}

DWORD CheckNotLinked(const std::string& path) {
  UniqueFile entry;
  const DWORD error = OpenChecked(Widen(path), kAnySharing, entry);
  return IsMissing(error) ? ERROR_SUCCESS : error;
}

bool LiesBelow(const std::string& path, const std::string& folder) {
  if (folder.empty() || path.size() <= folder.size()) return false;
  return SameName(path.substr(0, folder.size()), folder) &&
         (folder.back() == '\\' || path[folder.size()] == '\\');
}

std::string SharedDataFolder() {
  const std::string base = GetSpecialFolder(CSIDL_COMMON_APPDATA);
  return base.empty() ? std::string() : JoinPath(base, kHostFolderName);
}

}  // namespace inst
