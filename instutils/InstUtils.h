// The program's own file-system vocabulary: special folders, path joining, folder
// existence, file dates, drive kinds, folder creation and folder-tree removal (whole files
// are read and written through instutils/Files.h). Paths are narrow text in the ANSI code
// page; wide calls widen them with Widen (the ANSI code page). None of these operations
// raises or shows anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace inst {

// Set by the installing page once the module files are queued; read at shutdown.
extern bool InstallStarted;

// Start-up of the module: the process mitigation against junctions made by ordinary users
// (where Windows has it), OLE for the thread and the shell-folder lookup (shell32.dll, else
// shfolder.dll, both from the system folder). FinalizeInstUtils undoes it.
// Until InitializeInstUtils has run, GetSpecialFolder has no lookup and returns empty text.
void InitializeInstUtils();
void FinalizeInstUtils();

void IncludeBackslash(std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);
char LastChar(const std::string& text);  // '\0' for empty text
void DeleteFirstChar(std::string& text);
void DeleteLastChar(std::string& text);
bool SameName(const std::string& a, const std::string& b);
// The folder part of a path: up to and including its last backslash or colon; empty when
// it has neither.
std::string FolderPart(const std::string& path);

std::string CurrentFolder();
void PushCurrentFolder();
void PopCurrentFolder();
std::string TempFolder();
std::string GetSpecialFolder(int csidl);
bool FolderExists(const std::string& path);
// An existing entry that is not a folder (a folder of that name does not count).
bool FileExists(const std::string& path);
double GetFileDate(const std::string& path);
// One look-up for both questions: true when a file that is not a folder exists at path,
// and then its date as GetFileDate gives it.
bool FindFileDate(const std::string& path, double& date);
// The drive part of a path: "C:" or "\\server\share"; empty when it has neither.
std::string DrivePart(const std::string& path);
unsigned DriveKind(const std::string& path);
bool IsExternalDrive(const std::string& path);
// Makes every missing folder of path, top first; one that cannot be made is passed over.
void MakeFolders(const std::string& path);
void MakeFolders(const std::wstring& path);
void DeleteFolderTree(std::string path);

// The decision of IsExternalDrive on a storage device descriptor (the 548-byte query
// result): true for a 1394 or USB bus or removable media. Exposed so tests can reach it,
// since no test machine has a USB disk.
bool IsExternalDescriptor(const std::uint8_t* descriptor, std::size_t size);

// The current local date-time as days since 1899-12-30.
double NowAsDateTime();

}  // namespace inst
