#include "wizard/UpdateLog.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "instutils/Handles.h"
#include "instutils/Widen.h"

namespace wizard {
namespace {

int CompareLogText(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.data(),
                        static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
}

bool LogLess(const std::string& a, const std::string& b) {
  return CompareLogText(a, b) == CSTR_LESS_THAN;
}

std::string SystemReason(DWORD error) {
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

[[noreturn]] void FileError(const char* what, const std::string& path, DWORD error) {
  throw std::runtime_error(std::string(what) + " \"" + path + "\". " + SystemReason(error));
}

bool IsStamp(const std::string& line) { return !line.empty() && line[0] == '*'; }

}  // namespace

std::string StampBytes(double installTime) {
  std::string bytes(sizeof installTime, '\0');
  std::memcpy(bytes.data(), &installTime, sizeof installTime);
  return bytes;
}

std::string StampLine(double installTime) {
  static const char digits[] = "0123456789ABCDEF";
  std::string line = "*";
  for (unsigned char b : StampBytes(installTime)) {
    line += digits[b >> 4];
    line += digits[b & 0x0F];
  }
  return line;
}

void SortLogLines(std::vector<std::string>& lines) {
  std::stable_sort(lines.begin(), lines.end(), LogLess);
}

void MergeUpdateLog(std::vector<std::string>& log, const std::vector<std::string>& sortedPublic,
                    double installTime) {
  // Pass 1: empty lines and old entries of files written again.
  std::erase_if(log, [&](const std::string& line) {
    return line.empty() || std::binary_search(sortedPublic.begin(), sortedPublic.end(), line, LogLess);
  });
  // Pass 2: a run of adjacent stamp lines shrinks to its first, oldest line. One sweep:
  // erasing the lines one by one from the middle takes quadratic time on a long log.
  log.erase(std::unique(log.begin(), log.end(),
                        [](const std::string& kept, const std::string& next) {
                          return IsStamp(kept) && IsStamp(next);
                        }),
            log.end());
  // Pass 3: a stamp line left last has lost its whole group.
  if (!log.empty() && IsStamp(log.back())) log.pop_back();

  log.push_back(StampLine(installTime));
  log.insert(log.end(), sortedPublic.begin(), sortedPublic.end());
}

std::vector<std::string> LoadLogLines(const std::string& path) {
  inst::UniqueFile file(CreateFileW(inst::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) FileError("Cannot open file", path, GetLastError());
  std::string text;
  char buffer[64 * 1024];
  DWORD got = 0;
  for (;;) {
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr))
      FileError("Cannot read file", path, GetLastError());
    if (got == 0) break;
    text.append(buffer, got);
  }
  text.resize(std::min(text.size(), text.find('\0')));

  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

void SaveLogLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";

  // A read-only log refuses to be replaced, as Windows itself refuses (Wine's move would not).
  const DWORD attributes = GetFileAttributesW(inst::Widen(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    FileError("Cannot create file", path, ERROR_ACCESS_DENIED);

  const std::string fresh = path + ".new";
  const std::wstring freshW = inst::Widen(fresh);
  {
    inst::UniqueFile file(CreateFileW(freshW.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) FileError("Cannot create file", path, GetLastError());
    DWORD written = 0;
    if (!WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size() || !FlushFileBuffers(file.get())) {
      const DWORD error = written != text.size() ? ERROR_HANDLE_DISK_FULL : GetLastError();
      file.reset();
      DeleteFileW(freshW.c_str());
      FileError("Cannot write file", path, error);
    }
  }
  if (!MoveFileExW(freshW.c_str(), inst::Widen(path).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(freshW.c_str());
    FileError("Cannot create file", path, error);
  }
}

}  // namespace wizard
