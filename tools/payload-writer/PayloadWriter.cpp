// Build-time payload writer: packs files into the setup program's payload resource.
//
//   payload-writer --date YYYY-MM-DDTHH:MM:SS --out payload.bin NAME=PATH ...
//
// Every entry gets the one date given (so builds are reproducible); the entries keep the
// order of the command line; the result is one zlib stream at level 9.
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "instutils/DateTime.h"
#include "payload/PayloadFormat.h"

namespace {

[[noreturn]] void Fail(const std::string& message) {
  std::cerr << "payload-writer: " << message << "\n";
  std::exit(1);
}

// A name upper-cased as the setup program compares names: by the system's ANSI upper-casing,
// which maps the accented letters too. Names are bytes in the ANSI code page of the system
// the program runs on, so the letters of both the Western (1252) and the Baltic (1257) code
// page fold: a-z, the accented small letters 0xE0..0xFE (but the division sign 0xF7) that
// both place 0x20 above their capitals, and the few each keeps elsewhere.
std::string UpperAnsi(std::string s) {
  for (char& c : s) {
    const auto b = static_cast<unsigned char>(c);
    unsigned char upper = b;
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) upper = b - 0x20;
    else if (b == 0x9A || b == 0x9C || b == 0x9E) upper = b - 0x10;  // 1252: s caron, oe, z caron
    else if (b == 0xFF) upper = 0x9F;                                // 1252: y diaeresis
    else if (b == 0xB8 || b == 0xBA || b == 0xBF) upper = b - 0x10;  // 1257: o slash, r cedilla, ae
    c = static_cast<char>(upper);
  }
  return s;
}

inst::DateTimeParts ParseDate(const std::string& text) {
  inst::DateTimeParts p;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%d%c", &p.year, &p.month, &p.day, &p.hour,
                  &p.minute, &p.second, &tail) != 6)
    Fail("date \"" + text + "\" is not of the form YYYY-MM-DDTHH:MM:SS");
  if (p.year < 1980 || p.year > 2099) Fail("date \"" + text + "\" lies outside 1980..2099");
  if (p.month < 1 || p.month > 12 || p.day < 1 || p.day > 31 || p.hour > 23 || p.minute > 59 ||
      p.second > 59 || p.hour < 0 || p.minute < 0 || p.second < 0)
    Fail("date \"" + text + "\" is not a valid date-time");
  if (p.second % 2 != 0) Fail("date \"" + text + "\" is not at an even second");
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  std::string date, out;
  std::vector<std::string> entries;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--date" && i + 1 < argc) date = argv[++i];
    else if (arg == "--out" && i + 1 < argc) out = argv[++i];
    else entries.push_back(arg);
  }
  if (date.empty() || out.empty())
    Fail("usage: payload-writer --date YYYY-MM-DDTHH:MM:SS --out FILE NAME=PATH ...");
  const double stamp = inst::EncodeDateTime(ParseDate(date));

  std::vector<std::uint8_t> inflated;
  std::set<std::string> seen;
  for (const std::string& entry : entries) {
    const auto eq = entry.find('=');
    if (eq == std::string::npos) Fail("entry \"" + entry + "\" is not of the form NAME=PATH");
    const std::string name = entry.substr(0, eq), path = entry.substr(eq + 1);
    if (name.size() > payload::kMaxNameLength)
      Fail("entry name \"" + name + "\" is longer than 255 bytes");
    if (!seen.insert(UpperAnsi(name)).second)
      Fail("entry name \"" + name + "\" appears twice (letter case ignored)");
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail("cannot read \"" + path + "\" for entry \"" + name + "\"");
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    if (bytes.size() > 0x7FFFFFFF) Fail("\"" + path + "\" is too large");
    payload::AppendEntry(inflated, name, stamp, bytes.data(),
                         static_cast<std::int32_t>(bytes.size()));
  }

  uLongf packedSize = compressBound(inflated.size());
  std::vector<std::uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, inflated.data(), inflated.size(),
                Z_BEST_COMPRESSION) != Z_OK)
    Fail("compression failed");
  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packedSize));
  if (!file) Fail("cannot write \"" + out + "\"");
  return 0;
}
