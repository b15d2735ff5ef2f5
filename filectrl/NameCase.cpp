#include "filectrl/NameCase.h"

#include <windows.h>

namespace filectrl {
namespace {

bool MultiByteCodePage() {
  CPINFO info{};
  return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }
char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

}  // namespace

std::string LowerCaseFileName(std::string text) {
  if (!MultiByteCodePage()) return LowerCaseText(std::move(text));
  for (char& c : text) c = AsciiLower(c);
  return text;
}

std::string UpperCaseFileName(std::string text) {
  if (MultiByteCodePage()) {
    for (char& c : text) c = AsciiUpper(c);
  } else if (!text.empty()) {
    CharUpperBuffA(text.data(), DWORD(text.size()));
  }
  return text;
}

std::string LowerCaseText(std::string text) {
  if (!text.empty()) CharLowerBuffA(text.data(), DWORD(text.size()));
  return text;
}

bool SameLetter(char a, char b) { return AsciiUpper(a) == AsciiUpper(b); }

}  // namespace filectrl
