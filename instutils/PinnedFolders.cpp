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

HANDLE OpenEntry(const wchar_t* name, DWORD sharing, bool followLink) {
  return CreateFileW(name, kCheckAccess, sharing, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT),
                     nullptr);
}

bool OwnedByTheSystem(HANDLE entry) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(entry, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                      nullptr, &descriptor) != ERROR_SUCCESS)
    return false;
  const UniqueLocal ownedDescriptor(descriptor);
  bool trusted = false;
  char* text = nullptr;
  if (owner && ConvertSidToStringSidA(owner, &text)) {
    const UniqueLocal ownedText(text);
    for (const char* sid : kTrustedOwners) trusted = trusted || std::strcmp(text, sid) == 0;
  }
  return trusted;
}

// Opens the entry of that name itself and reads its attributes, by name and by its handle.
TCheckedEntry OpenOwnEntry(const wchar_t* name, DWORD sharing) {
  TCheckedEntry entry;
  entry.handle.reset(OpenEntry(name, sharing, false));
  BY_HANDLE_FILE_INFORMATION info;
  if (!entry.handle || !GetFileInformationByHandle(entry.handle.get(), &info)) {
    entry.error = GetLastError();
    return entry;
  }
  const DWORD byName = GetFileAttributesW(name);
  if (byName == INVALID_FILE_ATTRIBUTES) entry.error = GetLastError();
  else entry.attributes = byName | info.dwFileAttributes;
  return entry;
}

bool IsLink(DWORD attributes) { return attributes & FILE_ATTRIBUTE_REPARSE_POINT; }

// Opens and checks a folder on the way: the handle kept is the folder itself, or what a
// followed link leads to.
DWORD OpenChecked(const wchar_t* name, UniqueFile& held) {
  TCheckedEntry entry = OpenOwnEntry(name, kHoldSharing);
  if (entry.error) return entry.error;
  if (IsLink(entry.attributes)) {
    if (!OwnedByTheSystem(entry.handle.get())) return kLinkNotFollowed;
    entry.handle.reset(OpenEntry(name, kHoldSharing, true));
    if (!entry.handle) return GetLastError();
  }
  held = std::move(entry.handle);
  return ERROR_SUCCESS;
}

std::wstring WithoutTrailingBackslashes(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

// Whether a and b agree, letter case ignored, from `from` up to `to`.
bool SameSpan(const std::wstring& a, const std::wstring& b, std::size_t from, std::size_t to) {
  return to <= a.size() && to <= b.size() &&
         CompareStringOrdinal(a.data() + from, static_cast<int>(to - from), b.data() + from,
                              static_cast<int>(to - from), TRUE) == CSTR_EQUAL;
}

}  // namespace

TPinnedFolders::TPinnedFolders(const std::string& top)
    : top_(WithoutTrailingBackslashes(Widen(top))) {}

bool TPinnedFolders::Guards(const std::wstring& path) const {
  return !top_.empty() && path.size() > top_.size() && path[top_.size()] == L'\\' &&
         SameSpan(path, top_, 0, top_.size());
}

DWORD TPinnedFolders::Pin(const std::wstring& folder, bool make) {
  std::wstring name = WithoutTrailingBackslashes(folder);
  if (top_.empty() || !(SameSpan(name, top_, 0, top_.size()) &&
                        (name.size() == top_.size() || name[top_.size()] == L'\\')))
    return ERROR_INVALID_PARAMETER;
  // The folders held by the last call on the way to this one are kept as they are; the rest
  // of its folders stay held too, but off the way.
  std::size_t same = 0;
  for (std::size_t from = 0; same < levels_.size(); from = levels_[same++].end) {
    const std::size_t end = levels_[same].end;
    if (!(SameSpan(name, path_, from, end) && (end == name.size() || name[end] == L'\\'))) break;
  }
  while (levels_.size() > same) {
    kept_.push_back(std::move(levels_.back().handle));
    levels_.pop_back();
  }
  path_ = name;
  // Each folder is named by ending the path at its backslash in place: no copy per level.
  std::size_t end = levels_.empty() ? top_.size() : levels_.back().end;
  if (!levels_.empty()) end = name.find_first_not_of(L'\\', end);
  while (end != std::wstring::npos) {
    end = name.find(L'\\', end);
    if (end == std::wstring::npos) end = name.size();
    const wchar_t cut = name[end];  // the terminating NUL at the path's end
    name[end] = L'\0';
    UniqueFile held;
    DWORD error = OpenChecked(name.c_str(), held);
    if (IsMissing(error) && make) {
      CreateDirectoryW(name.c_str(), nullptr);
      error = OpenChecked(name.c_str(), held);
    }
    name[end] = cut;
    if (error) {
      // What this call opened is let go, so the user may mend the path before a retry.
      levels_.resize(same);
      return IsMissing(error) ? ERROR_PATH_NOT_FOUND : error;
    }
    levels_.push_back({end, std::move(held)});
    if (end == name.size()) break;
    end = name.find_first_not_of(L'\\', end);
  }
  return ERROR_SUCCESS;
}

TSharedFolders::TSharedFolders(TPinnedFolders* given) : given_(given) {
  if (!given_) own_ = std::make_unique<TPinnedFolders>(SharedDataFolder());
}

TCheckedEntry CheckEntry(const std::wstring& path, bool refuseLinks) {
  TCheckedEntry entry = OpenOwnEntry(path.c_str(), kAnySharing);
  if (!entry.error && refuseLinks && IsLink(entry.attributes) &&
      !OwnedByTheSystem(entry.handle.get()))
    entry.error = kLinkNotFollowed;
  return entry;
}

void RefuseUntrustedJunctions() {
  using SetPolicyFn = BOOL(WINAPI*)(PROCESS_MITIGATION_POLICY, PVOID, SIZE_T);
  const auto setPolicy = SystemProc<SetPolicyFn>("kernel32.dll", "SetProcessMitigationPolicy");
  DWORD enforce = 1;  // PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY: EnforceRedirectionTrust
  if (setPolicy) setPolicy(ProcessRedirectionTrustPolicy, &enforce, sizeof enforce);
}

std::string SharedDataFolder() {
  std::string base = GetSpecialFolder(CSIDL_COMMON_APPDATA);
  if (base.empty()) base = GetSpecialFolder(CSIDL_PERSONAL);
  return base.empty() ? std::string() : JoinPath(base, kHostFolderName);
}

}  // namespace inst
