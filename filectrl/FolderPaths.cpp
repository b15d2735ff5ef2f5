#include "filectrl/FolderPaths.h"

#include <windows.h>

#include <algorithm>

#include "filectrl/NameCase.h"
#include "instutils/CriticalErrorsSuppressed.h"
#include "instutils/Handles.h"
#include "instutils/InstUtils.h"
#include "instutils/ProductNames.h"

namespace filectrl {
namespace {

std::size_t LastSeparator(const std::string& path) { return path.find_last_of("\\:"); }

// The user locale's string sort, ignoring case: true when a sorts before b.
bool SortsBefore(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.c_str(), -1,
                        b.c_str(), -1) == CSTR_LESS_THAN;
}

bool IsDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

int FolderDepth(const std::string& path) {
  std::size_t end = path.size();
  if (end > 0 && path[end - 1] == '\\') --end;
  return int(std::count(path.begin(), path.begin() + end, '\\'));
}

std::string NamePart(const std::string& path) {
  const std::size_t at = LastSeparator(path);
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::vector<std::string> AncestorChain(std::string folder) {
  std::vector<std::string> chain;
  while (folder.size() > 3) {
    if (folder.back() == '\\') folder.pop_back();
    chain.push_back(folder);
    while (!folder.empty() && folder.back() != '\\') folder.pop_back();
  }
  if (!folder.empty()) chain.push_back(folder);
  std::reverse(chain.begin(), chain.end());
  return chain;
}

std::vector<std::string> SubFolderNames(const std::string& folder) {
  std::vector<std::string> names;
  const inst::TCriticalErrorsSuppressed quiet;
  WIN32_FIND_DATAA entry;
  inst::UniqueFind find(FindFirstFileA(inst::JoinPath(folder, "*.*").c_str(), &entry));
  if (!find) return names;
  constexpr DWORD kUnseen = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (entry.dwFileAttributes & kUnseen) ||
        IsDotEntry(entry.cFileName))
      continue;
    // Kept sorted while adding; names that compare equal keep their listing order.
    std::string name = entry.cFileName;
    names.insert(std::upper_bound(names.begin(), names.end(), name, SortsBefore), std::move(name));
  } while (FindNextFileA(find.get(), &entry));
  return names;
}

std::string NearestExistingFolder(std::string path) {
  const std::string drive = inst::DrivePart(path);
  if (drive.empty()) return {};
  const std::size_t stop = drive.size() + 1;
  const inst::TCriticalErrorsSuppressed quiet;
  while (!inst::FolderExists(path) && path.size() > stop) {
    std::string shorter = path;
    if (shorter.back() == '\\') shorter.pop_back();
    shorter = inst::FolderPart(shorter);
    if (shorter.size() >= path.size()) break;  // nothing left to cut
    path = std::move(shorter);
  }
  return path;
}

std::string FolderOnDrive(char letter, const std::string& current, const std::string& programFiles) {
  const inst::TCriticalErrorsSuppressed quiet;
  if (!programFiles.empty() && SameLetter(programFiles[0], letter)) {
    std::string folder = programFiles;
    inst::IncludeBackslash(folder);
    const std::string host = folder + inst::kHostFolderName;  // tried first on that drive
    return inst::FolderExists(host) ? host : folder;
  }
  const std::size_t colon = current.find(':');
  if (colon != std::string::npos) {
    const std::string same = letter + current.substr(colon);
    if (inst::FolderExists(same)) return same;
  }
  return std::string(1, letter) + ":\\";
}

}  // namespace filectrl
