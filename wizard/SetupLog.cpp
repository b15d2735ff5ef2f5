#include "wizard/SetupLog.h"

#include <cstring>

#include "instutils/Files.h"
#include "instutils/InstUtils.h"
#include "instutils/PinnedFolders.h"
#include "instutils/Widen.h"

namespace wizard {

TSetupLog* SetupLog = nullptr;

void TSetupLog::Add(const std::string& line) {
  text_ += inst::NarrowUtf8(inst::Widen(line)) + "\r\n";
}

DWORD TSetupLog::Save(const std::wstring& path) const {
  // A path the system could not take anyway, or with an empty level, is refused before
  // anything is looked at, so a path of any size costs nothing.
  if (path.size() > kLongestPath || path.find(L"\\\\", 1) != std::wstring::npos)
    return ERROR_BAD_PATHNAME;
  // Below the shared data folder the log is written like the records there: no link is
  // followed, and the folders it makes are made through the checked ones.
  const inst::TSharedFolders shared(nullptr);
  return inst::WriteBytesToFile(path, text_, {.makeFolders = true, .linkFree = shared.get()});
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
  const HRSRC res = FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
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
