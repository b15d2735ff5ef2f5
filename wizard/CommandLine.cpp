#include "wizard/CommandLine.h"

#include <windows.h>

#include "instutils/UserText.h"
#include "instutils/Widen.h"

namespace wizard {
namespace {

wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; }

// Whether arg is "/name" or "-name" (or, with prefix, begins with it), letter case ignored
// for ASCII letters only: the system's comparisons would also match look-alikes.
bool IsOption(const std::wstring& arg, const wchar_t* name, bool prefix = false) {
  if (arg.empty() || (arg[0] != L'/' && arg[0] != L'-')) return false;
  std::size_t i = 0;
  for (; name[i]; ++i)
    if (i + 1 >= arg.size() || AsciiUpper(arg[i + 1]) != AsciiUpper(name[i])) return false;
  return prefix || i + 1 == arg.size();
}

std::optional<std::string> NarrowExactly(const std::wstring& text) {
  bool lossy = false;
  std::string narrow = inst::Narrow(text, &lossy);
  if (lossy) return std::nullopt;
  return narrow;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
  std::vector<std::wstring> args;
  std::size_t i = 0;
  const std::size_t n = commandLine.size();
  auto separator = [](wchar_t c) { return c <= L' '; };
  while (true) {
    while (i < n && separator(commandLine[i])) ++i;
    if (i >= n) break;
    std::wstring arg;
    bool quoted = false;
    while (i < n && (quoted || !separator(commandLine[i]))) {
      if (commandLine[i] == L'"') quoted = !quoted;
      else arg += commandLine[i];
      ++i;
    }
    args.push_back(std::move(arg));
  }
  return args;
}

const char* const kOptionsHelpText = USER_TEXT(
    "Usage: Setup.exe [options] [-d<home folder>]\r\r"
    "/S - install without any window or message\r"
    "/LOG=<path> - write a log of the setup (UTF-8 text)\r"
    "/LANG=en or /LANG=lv - the wizard and its messages in English or in Latvian\r"
    "/? or /help - show this help\r"
    "-d<folder> - the home folder of Zentrova Word Processor, the first argument after the "
    "options\r\r"
    "Exit codes of /S:\r"
    "0 - installed\r"
    "1 - could not start: a damaged setup program\r"
    "2 - nothing installed: no qzv.exe in the home folder, or the word processor is running\r"
    "4 - the installation failed part way: a file could not be written");

TCommandLine ReadCommandLine(const std::vector<std::wstring>& args) {
  TCommandLine line;
  bool firstLeft = true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (IsOption(arg, L"S")) {
      line.silent = true;
    } else if (IsOption(arg, L"?") || IsOption(arg, L"help")) {
      line.help = true;
    } else if (IsOption(arg, L"LOG=", true)) {
      line.hasLog = true;
      line.logPath = arg.substr(5);
    } else if (IsOption(arg, L"LANG=", true)) {
      // A language the wizard does not speak leaves the display's choice.
      const std::wstring code = arg.substr(6);
      if (IsOption(L"/" + code, L"en")) line.language = inst::TLanguage::English;
      if (IsOption(L"/" + code, L"lv")) line.language = inst::TLanguage::Latvian;
    } else if (firstLeft) {
      firstLeft = false;
      if (arg.compare(0, 2, L"-d") != 0) continue;
      line.hasHomeDir = true;
      line.homeDirTyped = arg.substr(2);
      line.homeDir = NarrowExactly(line.homeDirTyped);
    }
  }
  return line;
}

TCommandLine ReadCommandLine() {
  const std::wstring typed = GetCommandLineW();
  TCommandLine line = ReadCommandLine(SplitCommandLine(typed));
  line.typed = typed;
  return line;
}

}  // namespace wizard
