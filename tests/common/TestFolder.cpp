#include "tests/common/TestFolder.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>

namespace testkit {

namespace {

std::atomic<unsigned> folderCounter{0};

bool GetVariable(const wchar_t* name, std::wstring& value) {
  const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) return false;
  value.assign(needed, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), needed));
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
  if (!path_.empty()) RemoveTreeForce(WidenAnsi(path_));
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

std::vector<std::string> NamesIn(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA(pattern.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
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

TSmallDrive::TSmallDrive() {
  const auto variable = [](const char* name) {
    char value[1024];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n < sizeof value ? std::string(value, n) : std::string();
  };
  if (const std::string drive = variable("SMALL_DRIVE"); !drive.empty()) {
    root_ = drive + "\\";
  } else {
    missing_ = variable("SMALL_DRIVE_MISSING");
    if (missing_.empty())
      missing_ = "the test program was not started through tests/common/with-small-drive";
  }
}

TSmallDrive::~TSmallDrive() {
  if (Present()) RemoveTreeForce(WidenAnsi(root_));
}

void TSmallDrive::LeaveRoom(std::uint64_t room) const {
  ULARGE_INTEGER free{};
  if (!GetDiskFreeSpaceExA(root_.c_str(), &free, nullptr, nullptr) || free.QuadPart <= room) return;
  HANDLE filler = CreateFileA((root_ + "filler.bin").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
  const std::string chunk(64 * 1024, 'f');
  for (std::uint64_t left = free.QuadPart - room; left > 0;) {
    const DWORD size = static_cast<DWORD>(left < chunk.size() ? left : chunk.size());
    DWORD written = 0;
    if (!::WriteFile(filler, chunk.data(), size, &written, nullptr) || written == 0) break;
    left -= written;
  }
  CloseHandle(filler);
}

void TSmallDrive::MakeRoom() const { DeleteFileA((root_ + "filler.bin").c_str()); }

std::wstring WidenAnsi(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                  wide.data(), static_cast<int>(wide.size())));
  return wide;
}

TTempEnvironment::TTempEnvironment(const std::string& folder)
    : TTempEnvironment(WidenAnsi(folder)) {}

TTempEnvironment::TTempEnvironment(const std::wstring& folder) {
  hadTemp_ = GetVariable(L"TEMP", oldTemp_);
  hadTmp_ = GetVariable(L"TMP", oldTmp_);
  SetEnvironmentVariableW(L"TEMP", folder.c_str());
  SetEnvironmentVariableW(L"TMP", folder.c_str());
}

TTempEnvironment::~TTempEnvironment() {
  SetEnvironmentVariableW(L"TEMP", hadTemp_ ? oldTemp_.c_str() : nullptr);
  SetEnvironmentVariableW(L"TMP", hadTmp_ ? oldTmp_.c_str() : nullptr);
}

}  // namespace testkit
