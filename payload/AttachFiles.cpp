#include "payload/AttachFiles.h"

#include <windows.h>

#include <string_view>

#include "instutils/DateTime.h"
#include "instutils/Files.h"
#include "instutils/FormatText.h"
#include "instutils/InstUtils.h"
#include "instutils/Language.h"
#include "instutils/PinnedFolders.h"
#include "instutils/ProductNames.h"
#include "instutils/SetupMessage.h"
#include "instutils/TempFiles.h"
#include "instutils/Widen.h"
#include "payload/Inflate.h"
#include "resources/SetupResources.h"

namespace payload {

TAttachedFiles* AttachedFiles = nullptr;
bool CollectPublicFiles = false;

namespace {

constexpr char kResourceName[] = SETUP_RESOURCE_NAME(PAYLOAD_FILES);  // both the type and the name of the payload

struct PackedBytes {
  const std::uint8_t* data;
  std::size_t size;
};

// The payload resource as it lies in the loaded module (not copied).
PackedBytes PayloadResource() {
  const HMODULE self = GetModuleHandleA(nullptr);
  const HRSRC res = FindResourceA(self, kResourceName, kResourceName);
  const HGLOBAL loaded = res ? LoadResource(self, res) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) throw DamagedPayload(kMissingText, inst::Localized(kMissingText));
  return {static_cast<const std::uint8_t*>(bytes), SizeofResource(self, res)};
}

// The entry's date as a last-write time: an MS-DOS date and time (local) turned into UTC.
// False for a date without an MS-DOS form; the file then keeps the time of its writing.
bool EntryWriteTime(double date, FILETIME& utc) {
  std::uint16_t dosDate = 0, dosTime = 0;
  FILETIME local;
  return inst::DateToDosDateTime(date, dosDate, dosTime) &&
         DosDateTimeToFileTime(dosDate, dosTime, &local) && LocalFileTimeToFileTime(&local, &utc);
}

}  // namespace

TAttachedFiles::TAttachedFiles() {
  const PackedBytes resource = PayloadResource();
  Load(resource.data, resource.size);
}

TAttachedFiles::TAttachedFiles(const std::uint8_t* packed, std::size_t size) { Load(packed, size); }

void TAttachedFiles::Load(const std::uint8_t* packed, std::size_t size) {
  std::vector<EntryView> views;
  try {
    Data = InflateBuffer(packed, size, 5 * size);
    views = WalkEntries(Data.data(), Data.size());
  } catch (const DamagedPayload& e) {
    throw DamagedPayload(inst::FormatText(std::string(kDamagedText), {e.what()}),
                         inst::LocalizedText(kDamagedText, {inst::Widen(e.what())}));
  }
  Entries.reserve(views.size());
  for (EntryView& v : views) {
    auto entry = std::make_unique<TAttachedFile>();
    entry->Name = std::move(v.name);
    entry->Size = v.size;
    entry->Date = v.date;
    entry->DataOffset = static_cast<std::int32_t>(v.dataOffset);
    Entries.push_back(std::move(entry));
  }
}

TAttachedFiles::~TAttachedFiles() {
  PublicFiles.clear();
  for (auto& queue : Queues)
    while (!queue.empty()) queue.pop_back();
  Data = {};
  while (!Entries.empty()) Entries.pop_back();
  inst::CleanTempFiles();
}

TExtractOutcome TAttachedFiles::ExtractFile(const TAttachedFile* Entry, const std::string& Name,
                                            const std::string& TargetPath) {
  // The entry is looked up before the target is touched: a name that matches nothing
  // leaves no empty file behind, though the user is still asked.
  if (!Entry) {
    for (auto it = Entries.rbegin(); it != Entries.rend() && !Entry; ++it)
      if (inst::SameName((*it)->Name, Name)) Entry = it->get();
  }
  for (;;) {
    const std::uint32_t error = Entry ? WriteEntry(*Entry, TargetPath) : ERROR_FILE_NOT_FOUND;
    if (error == ERROR_SUCCESS) return {};
    const int answer =
        inst::SetupMessage(inst::LocalizedText(kCannotCreateText, {inst::Widen(TargetPath)}),
                           inst::TDialogKind::Error, inst::buttons::AbortRetryIgnore);
    // Retry: the whole attempt again, however often the user asks. Abort, or a box that
    // could not be shown, ends the run.
    if (answer != IDRETRY) return {answer == IDIGNORE, error};
  }
}

std::uint32_t TAttachedFiles::WriteEntry(const TAttachedFile& entry,
                                         const std::string& targetPath) const {
  // Written whole or not at all under a fresh name and moved over the target, dated on the
  // handle that wrote it, with missing folders made. Below the shared data folder no link is
  // followed. One write, straight from the inflated data.
  FILETIME utc;
  const inst::TSharedFolders folders(SharedFolders);
  const inst::TWholeFileWrite how{.lastWriteTime = EntryWriteTime(entry.Date, utc) ? &utc : nullptr,
                                  .makeFolders = true,
                                  .linkFree = folders.get()};
  const std::string_view bytes(reinterpret_cast<const char*>(Data.data()) + entry.DataOffset,
                               static_cast<std::size_t>(entry.Size));
  return inst::WriteBytesToFile(targetPath, bytes, how);
}

bool TAttachedFiles::QueueFiles(const std::string& Name, const std::string& Folder,
                                std::uint8_t QueueNumber, std::uint8_t Mode) {
  const std::uint8_t effective = ForceOverwrite ? kAlwaysReplace : Mode;
  if (inst::LastChar(Name) == '\\') {
    // A folder prefix: every entry below it, in payload order.
    bool result = false;
    for (auto& entry : Entries)
      if (inst::SameName(entry->Name.substr(0, Name.size()), Name))
        result = QueueFile(*entry, Folder, QueueNumber, effective, Mode) || result;
    return result;
  }
  for (auto& entry : Entries)
    if (inst::SameName(entry->Name, Name))
      return QueueFile(*entry, Folder, QueueNumber, effective, Mode);
  return false;
}

bool TAttachedFiles::QueueFile(TAttachedFile& entry, const std::string& folder,
                               std::uint8_t queueNumber, std::uint8_t effectiveMode,
                               std::uint8_t callerMode) {
  std::string target = folder;
  inst::IncludeBackslash(target);
  target += entry.Name;
  double date = 0;
  if (effectiveMode != kAlwaysReplace && inst::FindFileDate(target, date)) {
    if (effectiveMode != kReplaceWhenDateDiffers) return false;
    if (date == entry.Date) return false;
  }
  auto job = std::make_unique<TFileToInstall>();
  job->Entry = &entry;
  job->Target = target;
  Queues.at(queueNumber).push_back(std::move(job));

  if (CollectPublicFiles) {
    // The shell is asked once per store, not once per file.
    if (publicFolder_.empty()) {
      const std::string shared = inst::SharedDataFolder();
      publicFolder_ = shared.empty() ? "" : inst::JoinPath(shared, inst::kPublicSubfolder);
    }
    if (!publicFolder_.empty() && inst::SameName(target.substr(0, publicFolder_.size()), publicFolder_))
      PublicFiles.push_back(callerMode == kKeepExisting ? target + "\t!" : target);
  }
  return true;
}

}  // namespace payload
