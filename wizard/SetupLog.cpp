#include "wizard/SetupLog.h"

#include <cstring>

#include "instutils/Files.h"
#include "instutils/InstUtils.h"
#include "instutils/Widen.h"

namespace wizard {

TSetupLog* SetupLog = nullptr;

void TSetupLog::Add(const std::string& line) {
  text_ += inst::NarrowUtf8(inst::Widen(line)) + "\r\n";
}

DWORD TSetupLog::Save(const std::string& path) const {
  inst::TWholeFileWrite how;
  how.makeFolders = true;
  return inst::WriteBytesToFile(path, text_, how);
}

void Log(const std::string& line) {
  if (SetupLog) SetupLog->Add(line);
}

std::string FailureText(DWORD error) {
  return "failed: " + inst::SystemReason(error) + " (error " + std::to_string(error) + ")";
}

std::string ProgramVersion() {
  // The fixed part of the version resource, found by its signature; read without the
  // version library, which the program does not load.
  const HMODULE self = GetModuleHandleA(nullptr);
  const HRSRC res = FindResourceA(self, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
  const auto* bytes = static_cast<const BYTE*>(res ? LockResource(LoadResource(self, res)) : nullptr);
  const DWORD size = res ? SizeofResource(self, res) : 0;
  for (DWORD at = 0; bytes && at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, bytes + at, sizeof info);
    if (info.dwSignature != 0xFEEF04BD) continue;
    return std::to_string(HIWORD(info.dwFileVersionMS)) + "." +
           std::to_string(LOWORD(info.dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info.dwFileVersionLS)) + "." +
           std::to_string(LOWORD(info.dwFileVersionLS));
  }
  return "unknown";
}

}  // namespace wizard
