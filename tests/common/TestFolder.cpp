#include "tests/common/TestFolder.h"

#include <atomic>
#include <fstream>
#include <sstream>

namespace testkit {

namespace {

std::atomic<unsigned> folderCounter{0};

std::wstring WideFromAscii(const std::string& text) { return std::wstring(text.begin(), text.end()); }

bool GetVariable(const char* name, std::string& value) {
  const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
  if (needed == 0) return false;
  value.assign(needed, '\0');
  value.resize(GetEnvironmentVariableA(name, value.data(), needed));
  return true;
}

}  // namespace

TTestFolder::TTestFolder() {
  char temp[MAX_PATH];
  const DWORD n = GetTempPathA(MAX_PATH, temp);
  std::string base(temp, n);
  if (!base.empty() && base.back() != '\\') base += '\\';
  for (;;) {
    path_ = base + "inst-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(folderCounter++) + "\\";
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      path_.clear();
      break;
    }
  }
}

TTestFolder::~TTestFolder() {
  if (!path_.empty()) RemoveTreeForce(WideFromAscii(path_));
}

std::string TTestFolder::WriteFile(const std::string& name, const std::string& contents) const {
  const std::string full = path_ + name;
  std::ofstream(full, std::ios::binary | std::ios::trunc) << contents;
  return full;
}

std::string TTestFolder::MakeFolder(const std::string& name) const {
  const std::string full = path_ + name;
  CreateDirectoryA(full.c_str(), nullptr);
  return full;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool FileExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderIsThere(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTreeForce(const std::wstring& path) {
  std::wstring folder = path;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = folder + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTreeForce(full);
      else
        DeleteFileW(full.c_str());
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(folder.c_str());
}

TTempEnvironment::TTempEnvironment(const std::string& folder) {
  hadTemp_ = GetVariable("TEMP", oldTemp_);
  hadTmp_ = GetVariable("TMP", oldTmp_);
  SetEnvironmentVariableA("TEMP", folder.c_str());
  SetEnvironmentVariableA("TMP", folder.c_str());
}

TTempEnvironment::~TTempEnvironment() {
  SetEnvironmentVariableA("TEMP", hadTemp_ ? oldTemp_.c_str() : nullptr);
  SetEnvironmentVariableA("TMP", hadTmp_ ? oldTmp_.c_str() : nullptr);
}

}  // namespace testkit
