#include "wizard/HomeFolder.h"

#include <windows.h>
#include <shlobj.h>

#include "instutils/Handles.h"
#include "instutils/InstUtils.h"
#include "instutils/ProductNames.h"

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

void WriteSettings(const std::string& mainDir, bool launch) {
  const inst::UniqueKey key = OpenHomeFolderKey();
  if (!key) return;
  RegSetValueExA(key.get(), "MAINDIR", 0, REG_SZ, reinterpret_cast<const BYTE*>(mainDir.c_str()),
                 static_cast<DWORD>(mainDir.size() + 1));
  const DWORD value = launch ? 1 : 0;
  RegSetValueExA(key.get(), "LAUNCH", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof value);
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> args;
  std::size_t i = 0;
  const std::size_t n = commandLine.size();
  auto separator = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (true) {
    while (i < n && separator(commandLine[i])) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n && (quoted || !separator(commandLine[i]))) {
      if (commandLine[i] == '"') quoted = !quoted;
      else arg += commandLine[i];
      ++i;
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::string InitialHomeDir(const SavedSettings& settings, const std::vector<std::string>& args) {
  std::string home = settings.hasMainDir ? settings.mainDir : std::string();
  if (home.empty() || !inst::FolderExists(home))
    home = inst::JoinPath(inst::GetSpecialFolder(CSIDL_PROGRAM_FILES), inst::kHostFolderName);
  if (args.size() > 1 && args[1].compare(0, 2, "-d") == 0) home = args[1].substr(2);
  return home;
}

std::string NormalizeDestDirText(std::string t, char selectedDrive,
                                 const std::string& programFiles) {
  const auto first = t.find_first_not_of(' ');
  t.erase(0, first == std::string::npos ? t.size() : first);
  const auto last = t.find_last_not_of(' ');
  t.erase(last == std::string::npos ? 0 : last + 1);
  if (!HasDrivePart(t)) t = std::string(1, selectedDrive) + ":";
  if (!t.empty() && inst::LastChar(t) == '\\') inst::DeleteLastChar(t);
  const bool noName = inst::FolderPart(t).size() == t.size();
  if (noName || inst::SameName(t, programFiles)) t = inst::JoinPath(t, inst::kHostFolderName);
  return t;
}

}  // namespace wizard
