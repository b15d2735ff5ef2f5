// The attached file store: the payload resource inflated once, indexed by entry, written
// to files one entry at a time, and queued entry by entry for the installation run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "instutils/UserText.h"
#include "payload/Inflate.h"
#include "payload/PayloadFormat.h"

namespace inst {
class TPinnedFolders;
}

namespace payload {

// The user's texts of a damaged payload ("%s" is the technical detail) and of a file that
// cannot be written ("%s" is its path).
inline constexpr char kDamagedText[] =
    USER_TEXT("The setup program's attached files are damaged (%s).");
inline constexpr char kMissingText[] =
    USER_TEXT("The setup program's attached files are missing.");
inline constexpr char kCannotCreateText[] = USER_TEXT(
    "Cannot create file \"%s\".\rAnother application might already be using this file.\r\r"
    "Please make sure that the setup of Zentrova Word Processor is not blocked by your "
    "security software (firewall/antivirus) in any way.\rYou might want to temporarily "
    "disable your security software and try again.");

// One payload entry: its place in the store's inflated data (contents are not copied).
class TAttachedFile {
 public:
  std::string Name;
  std::int32_t Size = 0;
  double Date = 0;  // days since 1899-12-30, local time
  std::int32_t DataOffset = 0;
};

// One queued job: which entry to write where.
class TFileToInstall {
 public:
  TAttachedFile* Entry = nullptr;  // owned by the store's Entries
  std::string Target;
};

// Overwrite modes of QueueFiles for a target that already exists; any other value keeps it.
inline constexpr std::uint8_t kKeepExisting = 0;
inline constexpr std::uint8_t kReplaceWhenDateDiffers = 1;
inline constexpr std::uint8_t kAlwaysReplace = 2;

// What ExtractFile did: whether the run goes on, and the system's error of its last attempt.
struct TExtractOutcome {
  bool goOn = true;         // false only for Abort
  std::uint32_t error = 0;  // ERROR_SUCCESS when the file was written
  explicit operator bool() const { return goOn; }
};

class TAttachedFiles {
 public:
  // Inflates and indexes the program's own resource of type "FILES" and name "FILES".
  // A missing or damaged payload raises DamagedPayload with a text meant for the user.
  TAttachedFiles();
  // The same from the packed (zlib) bytes of a payload given in memory.
  TAttachedFiles(const std::uint8_t* packed, std::size_t size);
  // Frees the public-file lines, the jobs, the data and the entries, then sweeps the
  // program's temporary files.
  ~TAttachedFiles();
  TAttachedFiles(const TAttachedFiles&) = delete;
  TAttachedFiles& operator=(const TAttachedFiles&) = delete;

  // Writes Entry (or, when it is null, the last entry called Name) to TargetPath with the
  // entry's date, whole or not at all: a failed attempt leaves TargetPath as it was. On
  // failure asks Abort / Retry / Ignore: the outcome reads false only for Abort.
  TExtractOutcome ExtractFile(const TAttachedFile* Entry, const std::string& Name,
                   const std::string& TargetPath);

  // Queues the entry called Name, or every entry whose name begins with Name when Name
  // ends in a backslash, for writing into Folder under Mode. True when anything was queued.
  bool QueueFiles(const std::string& Name, const std::string& Folder, std::uint8_t QueueNumber,
                  std::uint8_t Mode);

  std::int32_t DataSize() const { return static_cast<std::int32_t>(Data.size()); }

  TInflatedBytes Data;                                                 // the whole inflated payload
  std::vector<std::unique_ptr<TAttachedFile>> Entries;                 // in payload order
  std::array<std::vector<std::unique_ptr<TFileToInstall>>, 1> Queues;  // only queue 0
  std::vector<std::string> PublicFiles;  // targets under the Public folder, queueing order
  bool ForceOverwrite = false;           // when true every request queues as mode 2
  // While an installation runs: its held folders below the shared data folder, which every
  // write goes through. Without them each write checks its own way there.
  inst::TPinnedFolders* SharedFolders = nullptr;

 private:
  void Load(const std::uint8_t* packed, std::size_t size);
  bool QueueFile(TAttachedFile& entry, const std::string& folder, std::uint8_t queueNumber,
                 std::uint8_t effectiveMode, std::uint8_t callerMode);
  std::uint32_t WriteEntry(const TAttachedFile& entry, const std::string& targetPath) const;

  std::string publicFolder_;  // the shared Public folder, found at the first collected job
};

// The one store of the process, created and freed by the entry sequence.
extern TAttachedFiles* AttachedFiles;
// Set by the installing page before it queues; while false, no PublicFiles lines are kept.
extern bool CollectPublicFiles;

}  // namespace payload
