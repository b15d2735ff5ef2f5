#include "wizard/UpdateLog.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "instutils/Files.h"
#include "instutils/FormatText.h"
#include "instutils/Language.h"
#include "instutils/PinnedFolders.h"
#include "instutils/Text.h"
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

// The largest log that is read and merged: far beyond any real one, and small enough to
// merge in memory.
constexpr std::uint64_t kLogSizeLimit = 16 * 1024 * 1024;

// The system's reason, or the log's own size limit.
std::string Reason(DWORD error) {
  if (error == ERROR_FILE_TOO_LARGE) return kLogTooLargeText;
  return inst::SystemReason(error);
}

// English for the setup log; the user reads it in the chosen language, the system's reason
// as the system words it.
[[noreturn]] void FileError(const char* text, const std::string& path, DWORD error) {
  const std::string reason = Reason(error);
  throw inst::EUserError(inst::FormatText(std::string(text), {path, reason}),
                         inst::LocalizedText(text, {inst::Widen(path), inst::Localized(reason)}));
}

bool IsStamp(const std::string& line) { return !line.empty() && line[0] == '*'; }

}  // namespace

std::string StampBytes(double installTime) {
  std::string bytes(sizeof installTime, '\0');
  std::memcpy(bytes.data(), &installTime, sizeof installTime);
  return bytes;
}

bool WriteInstallStamp(const std::string& path, double installTime, inst::TPinnedFolders* shared) {
  const inst::TSharedFolders folders(shared);
  return inst::WriteBytesToFile(path, StampBytes(installTime), {.linkFree = folders.get()}) ==
         ERROR_SUCCESS;
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

TLogText LoadLogText(const std::string& path, inst::TPinnedFolders* shared) {
  std::string text;
  const inst::TSharedFolders folders(shared);
  if (const DWORD error = inst::ReadWholeFile(
          path, text, {.maxSize = kLogSizeLimit, .linkFree = folders.get()}))
    FileError(kCannotOpenLogText, path, error);
  TLogText log;
  const std::size_t nul = std::min(text.size(), text.find('\0'));
  log.tail = text.substr(nul);
  text.resize(nul);
  log.lines = inst::SplitLines(text);
  return log;
}

void SaveLogText(const std::string& path, const TLogText& log, inst::TPinnedFolders* shared) {
  // A log past the limit could not be merged by the next run: refused before any write.
  std::uint64_t size = log.tail.size();
  for (const std::string& line : log.lines) size += line.size() + 2;
  if (size > kLogSizeLimit) FileError(kCannotWriteLogText, path, ERROR_FILE_TOO_LARGE);
  std::string text;
  text.reserve(static_cast<std::size_t>(size));
  for (const std::string& line : log.lines) (text += line) += "\r\n";
  text += log.tail;
  const inst::TSharedFolders folders(shared);
  // Failures reach the user with the system's reason; the log stays as it was.
  if (const DWORD error =
          inst::WriteBytesToFile(path, text, {.flush = true, .linkFree = folders.get()})) {
    const bool full = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
    FileError(full ? kCannotWriteLogText : kCannotCreateLogText, path, error);
  }
}

}  // namespace wizard
