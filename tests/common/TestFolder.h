// Per-test scratch space on the real file system: a fresh folder under the system's
// temporary folder, removed with everything inside it (read-only, hidden and system
// entries too) when the owner goes out of scope.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testkit {

class TTestFolder {
 public:
  TTestFolder();
  ~TTestFolder();
  TTestFolder(const TTestFolder&) = delete;
  TTestFolder& operator=(const TTestFolder&) = delete;

  // The folder, with a trailing backslash (narrow text in the ANSI code page).
  const std::string& Path() const { return path_; }
  // Path() + relative name.
  std::string operator/(const std::string& name) const { return path_ + name; }

  // Writes a file below the folder (its own folders must exist); returns the full path.
  std::string WriteFile(const std::string& name, const std::string& contents) const;
  // Creates a folder below the folder; returns the full path without a trailing backslash.
  std::string MakeFolder(const std::string& name) const;

 private:
  std::string path_;
};

// Reads a whole file; empty text when it cannot be opened.
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);    // an existing entry that is not a folder
bool FolderIsThere(const std::string& path);  // an existing folder (attribute test)
// The names of the entries that match a pattern ("C:\\x\\f.bin*"), sorted.
std::vector<std::string> NamesIn(const std::string& pattern);
// Removes a tree whatever its entries' attributes (clears read-only first).
void RemoveTreeForce(const std::wstring& path);

// Points TEMP and TMP of this process at a folder for the owner's lifetime, so code that
// asks for the temporary folder works in a test's own folder.
class TTempEnvironment {
 public:
  explicit TTempEnvironment(const std::string& folder);
  explicit TTempEnvironment(const std::wstring& folder);  // any characters
  ~TTempEnvironment();
  TTempEnvironment(const TTempEnvironment&) = delete;
  TTempEnvironment& operator=(const TTempEnvironment&) = delete;

 private:
  std::wstring oldTemp_, oldTmp_;
  bool hadTemp_ = false, hadTmp_ = false;
};

// Narrow text in the ANSI code page, widened as the system does.
std::wstring WidenAnsi(const std::string& text);

// The small removable drive that tests/common/with-small-drive mounts behind f: (a tmpfs
// of a few megabytes), for what happens when a disk really fills up. Whatever is on it is
// removed when the owner goes.
class TSmallDrive {
 public:
  TSmallDrive();
  ~TSmallDrive();
  TSmallDrive(const TSmallDrive&) = delete;
  TSmallDrive& operator=(const TSmallDrive&) = delete;

  // False when the test program runs without the drive; Missing() says why.
  bool Present() const { return !root_.empty(); }
  const std::string& Missing() const { return missing_; }
  // "f:\".
  const std::string& Root() const { return root_; }

  // One filler file takes all free space but `room` bytes (a whole number of pages).
  void LeaveRoom(std::uint64_t room) const;
  // The filler goes again.
  void MakeRoom() const;

 private:
  std::string root_, missing_;
};

}  // namespace testkit
