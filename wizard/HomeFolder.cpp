#include "wizard/HomeFolder.h"

#include <windows.h>
#include <shlobj.h>

#include <cctype>

#include "instutils/CriticalErrorsSuppressed.h"
#include "instutils/Handles.h"
#include "instutils/InstUtils.h"
#include "instutils/ProductNames.h"
#include "instutils/UserText.h"

namespace wizard {

const char* const HomeFolderKey = "Software\\Zentrova Word Processor\\Install";

namespace {

inst::UniqueKey OpenHomeFolderKey() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, HomeFolderKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return {};
  return inst::UniqueKey(key);
}

// The value's bytes, or false when it does not exist (a value of size 0 exists).
bool QueryBytes(HKEY key, const char* name, std::string& bytes) {
  if (!key) return false;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
  bytes.assign(size, '\0');
  if (size > 0 &&
      RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()),
                       &size) != ERROR_SUCCESS)
    return false;
  bytes.resize(size);
  return true;
}

bool HasDrivePart(const std::string& t) {
  return !inst::DrivePart(t).empty();
}

}  // namespace

SavedSettings ReadSettings() {
  SavedSettings s;
  const inst::UniqueKey key = OpenHomeFolderKey();
  std::string bytes;
  if (QueryBytes(key.get(), "MAINDIR", bytes)) {
    s.hasMainDir = true;
    s.mainDir = bytes.substr(0, bytes.find('\0'));
  }
  if (QueryBytes(key.get(), "LAUNCH", bytes)) {
    s.hasLaunch = true;
    // Only a 4-byte number says anything; other data keeps the launch box checked.
    if (bytes.size() == 4) {
      DWORD v;
      memcpy(&v, bytes.data(), 4);
      s.launch = v != 0;
    }
  }
  return s;
}

namespace {

void SetMainDir(HKEY key, const std::string& mainDir) {
  RegSetValueExA(key, "MAINDIR", 0, REG_SZ, reinterpret_cast<const BYTE*>(mainDir.c_str()),
                 static_cast<DWORD>(mainDir.size() + 1));
}

}  // namespace

void WriteMainDir(const std::string& mainDir) {
  if (const inst::UniqueKey key = OpenHomeFolderKey()) SetMainDir(key.get(), mainDir);
}

void WriteSettings(const std::string& mainDir, bool launch) {
  const inst::UniqueKey key = OpenHomeFolderKey();
  if (!key) return;
  SetMainDir(key.get(), mainDir);
  const DWORD value = launch ? 1 : 0;
  RegSetValueExA(key.get(), "LAUNCH", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof value);
}

HomeProposal ProposeHomeDir(const SavedSettings& settings, const TCommandLine& commandLine) {
  if (commandLine.hasHomeDir) {
    if (!commandLine.homeDir) return {"", "given by the -d option", false};
    return {WithoutLongPathPrefix(*commandLine.homeDir), "given by the -d option"};
  }
  const std::string saved = settings.hasMainDir ? WithoutLongPathPrefix(settings.mainDir) : "";
  if (!saved.empty() && !IsDevicePath(saved)) {
    const inst::TCriticalErrorsSuppressed quiet;
    if (inst::FolderExists(saved)) return {saved, "saved as MAINDIR"};
  }
  return {inst::JoinPath(inst::GetSpecialFolder(CSIDL_PROGRAM_FILES), inst::kHostFolderName),
          settings.hasMainDir ? "the default: the saved MAINDIR names no folder"
                              : "the default: no MAINDIR saved"};
}

std::string WithoutLongPathPrefix(const std::string& folder) {
  if (lstrcmpiA(folder.substr(0, 8).c_str(), "\\\\?\\UNC\\") == 0) return "\\\\" + folder.substr(8);
  // "\\?\" before anything but a drive ("\\?\GLOBALROOT\...", "\\?\Volume{...}") stays.
  if (folder.compare(0, 4, "\\\\?\\") == 0 && folder.size() >= 6 &&
      std::isalpha(static_cast<unsigned char>(folder[4])) && folder[5] == ':')
    return folder.substr(4);
  return folder;
}

bool IsDevicePath(const std::string& folder) {
  return folder.compare(0, 4, "\\\\.\\") == 0 || folder.compare(0, 4, "\\\\?\\") == 0 ||
         folder.compare(0, 4, "\\??\\") == 0;
}

bool HoldsHost(const std::string& folder) {
  if (folder.empty() || IsDevicePath(folder) || folder.find_first_of("?*") != std::string::npos)
    return false;
  const inst::TCriticalErrorsSuppressed quiet;
  return inst::FileExists(inst::JoinPath(folder, inst::kHostExe));
}

char ProgramFilesDrive() {
  const std::string pf = inst::GetSpecialFolder(CSIDL_PROGRAM_FILES);
  return pf.empty() ? 'c' : static_cast<char>(std::tolower(static_cast<unsigned char>(pf[0])));
}

std::string NormalizeDestDirText(std::string t, char selectedDrive,
                                 const std::string& programFiles) {
  const auto first = t.find_first_not_of(' ');
  t.erase(0, first == std::string::npos ? t.size() : first);
  const auto last = t.find_last_not_of(' ');
  t.erase(last == std::string::npos ? 0 : last + 1);
  t = WithoutLongPathPrefix(t);
  if (!HasDrivePart(t)) t = std::string(1, selectedDrive) + ":";
  if (!t.empty() && inst::LastChar(t) == '\\') inst::DeleteLastChar(t);
  const bool noName = inst::FolderPart(t).size() == t.size();
  if (noName || inst::SameName(t, programFiles)) t = inst::JoinPath(t, inst::kHostFolderName);
  return t;
}

}  // namespace wizard
