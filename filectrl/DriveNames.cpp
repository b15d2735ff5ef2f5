#include "filectrl/DriveNames.h"

#include "filectrl/NameCase.h"
#include "instutils/CriticalErrorsSuppressed.h"
#include "instutils/FormatText.h"
#include "instutils/InstUtils.h"
#include "instutils/SystemLibrary.h"

namespace filectrl {
namespace {

constexpr DWORD kNameBufferSize = 261;

bool IsLowerLetter(char c) { return c >= 'a' && c <= 'z'; }

std::string CasedLike(char letter, std::string name) {
  return IsLowerLetter(letter) ? LowerCaseFileName(std::move(name)) : UpperCaseFileName(std::move(name));
}

// mpr.dll is not one of the system's known DLLs, so it is loaded from the system folder
// when first needed rather than imported.
using WNetGetConnectionFn = DWORD(WINAPI*)(LPCSTR, LPSTR, LPDWORD);

}  // namespace

std::string VolumeLabel(char letter) {
  const std::string root = std::string(1, letter) + ":\\";
  char name[kNameBufferSize] = {};
  {
    inst::TCriticalErrorsSuppressed quiet;
    if (!GetVolumeInformationA(root.c_str(), name, kNameBufferSize, nullptr, nullptr, nullptr,
                               nullptr, 0))
      name[0] = '\0';
  }
  const std::string label = CasedLike(letter, name);
  return label.empty() ? label : inst::FormatText("[%s]", {label});
}

std::string NetworkName(char letter) {
  const auto getConnection =
      inst::SystemProc<WNetGetConnectionFn>("mpr.dll", "WNetGetConnectionA");
  if (getConnection) {
    const std::string device = UpperCaseFileName(std::string(1, letter)) + ":";
    char remote[kNameBufferSize] = {};
    DWORD size = kNameBufferSize;
    if (getConnection(device.c_str(), remote, &size) == NO_ERROR) return CasedLike(letter, remote);
  }
  return VolumeLabel(letter);
}

std::vector<DriveEntry> ListedDrives(DWORD mask) {
  std::vector<DriveEntry> drives;
  for (int number = 2; number <= 25; ++number) {
    if (!(mask & (DWORD(1) << number))) continue;
    const char letter = char('a' + number);
    const std::string root = std::string(1, letter) + ":\\";
    const UINT type = GetDriveTypeA(root.c_str());
    if (type == DRIVE_CDROM) continue;
    const std::string label = type == DRIVE_REMOTE ? NetworkName(letter) : VolumeLabel(letter);
    drives.push_back({letter, inst::FormatText("%s: %s", {std::string(1, letter), label}),
                      inst::IsExternalDrive(root)});
  }
  return drives;
}

char StoredDriveLetter(char letter) {
  if (letter == '\0') return ' ';
  if (letter >= 'A' && letter <= 'Z') return char(letter + 32);
  return letter;
}

}  // namespace filectrl
