// The records a shared installation leaves for the word processor, read as the word
// processor reads them: the install stamp (the 8 bytes of the installation's date-time, a
// little-endian double counting days since 1899-12-30, local time) and the update log (CR LF
// text in the ANSI code page: groups of a stamp line, "*" and the same 8 bytes as 16
// upper-case hex digits, followed by the paths of the files installed with it, a path
// ending in TAB "!" when the user's own copy is to be kept).
#include <windows.h>
#include <shlobj.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "instutils/Handles.h"
#include "tools/demo-host/HostReport.h"

namespace host {

namespace {

// The folder the setup program writes the records under: common application data, else
// the user's documents.
std::string RecordsBase() {
  std::string base = CommonAppData();
  if (!base.empty()) return base;
  char path[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, path)) || !*path) return {};
  return std::string(path) + "\\";
}

// A whole file; nothing when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::string& path) {
  inst::UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  return bytes;
}

// Lines end at CR LF, a lone CR or a lone LF; a NUL byte ends the text.
std::vector<std::string> Lines(std::string text) {
  text.resize(strlen(text.c_str()));
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

// The 8 bytes of a stamp line; nothing when it is not "*" and 16 upper-case hex digits.
std::optional<std::string> StampLineBytes(const std::string& line) {
  static const char digits[] = "0123456789ABCDEF";
  if (line.size() != 17 || line[0] != '*') return std::nullopt;
  std::string bytes;
  for (size_t i = 1; i < line.size(); i += 2) {
    const char* high = strchr(digits, line[i]);
    const char* low = strchr(digits, line[i + 1]);
    if (!high || !low || !*high || !*low) return std::nullopt;
    bytes += char(((high - digits) << 4) | (low - digits));
  }
  return bytes;
}

// "YYYY-MM-DD hh:mm:ss" of 8 stamp bytes, to the second below; a note when they hold no
// date-time from 1899-12-30 to 9999-12-31.
std::string DateTimeText(const std::string& bytes) {
  double days;
  memcpy(&days, bytes.data(), sizeof days);
  if (!(days >= 0 && days < 2958466)) return "no valid date-time";
  // Whole milliseconds from 1601-01-01, the system's file-time origin, 109205 days earlier.
  const auto ms = static_cast<unsigned long long>(std::floor((days + 109205) * 86400000.0 + 0.5));
  ULARGE_INTEGER ticks;
  ticks.QuadPart = ms * 10000;
  const FILETIME fileTime{ticks.LowPart, ticks.HighPart};
  SYSTEMTIME t;
  if (!FileTimeToSystemTime(&fileTime, &t)) return "no valid date-time";
  char text[32];
  snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
           t.wMinute, t.wSecond);
  return text;
}

// 8 stamp bytes as the log writes them, "*" and hex digits, and their date-time.
std::string StampText(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string line = "*";
  for (unsigned char b : bytes) {
    line += digits[b >> 4];
    line += digits[b & 15];
  }
  return line + ", " + DateTimeText(bytes);
}

}  // namespace

std::string DescribeInstallRecords() {
  const std::string base = RecordsBase();
  if (base.empty()) return "Install records: none, there is no folder for them\r\n";
  const std::string folder = base + "Zentrova\\";
  const std::optional<std::string> stamp = ReadFileBytes(folder + "Hidden\\install_stamp");
  const std::optional<std::string> log = ReadFileBytes(folder + "Update.log");
  std::string out = "Install records: " + Utf8(folder);
  if (!stamp && !log) return out + "\r\n  none: no install stamp and no update log\r\n";
  out += "\r\n  Install stamp: ";
  const bool stampRead = stamp && stamp->size() == 8;
  if (!stamp) out += "missing\r\n";
  else if (!stampRead) out += "damaged, " + std::to_string(stamp->size()) + " bytes\r\n";
  else out += StampText(*stamp) + "\r\n";

  // The last group: the last line beginning with "*" and the lines after it.
  const std::vector<std::string> lines = log ? Lines(*log) : std::vector<std::string>{};
  size_t first = lines.size();
  while (first > 0 && !lines[first - 1].starts_with('*')) --first;
  out += "  Last stamp line of the update log: ";
  if (!log) return out + "none, there is no update log\r\n";
  if (first == 0) return out + "none\r\n";
  const std::optional<std::string> logStamp = StampLineBytes(lines[first - 1]);
  out += logStamp ? StampText(*logStamp) : Utf8(lines[first - 1]) + ", not a valid stamp";
  out += "\r\n  ";
  if (!stampRead)
    out += "The last stamp line has no install stamp to match.\r\n";
  else if (logStamp == stamp)
    out += "The install stamp and the last stamp line are the same 8 bytes.\r\n";
  else
    out += "The install stamp and the last stamp line differ.\r\n";
  out += "  Files of the last group:\r\n";
  for (size_t i = first; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const bool marked = lines[i].size() > 2 && lines[i].ends_with("\t!");
    const std::string path = marked ? lines[i].substr(0, lines[i].size() - 2) : lines[i];
    out += "    " + Utf8(path) + ": " + (FileExists(path) ? "present" : "missing") +
           (marked ? ", marked !" : "") + "\r\n";
  }
  return out;
}

}  // namespace host
