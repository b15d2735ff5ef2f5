// The records a shared installation leaves for the word processor: the install stamp
// (the 8 bytes of the installation's date-time) and the update log, a CR LF text file in
// which each installation appends a stamp line followed by the files it placed in the
// shared Public folder.
#pragma once

#include <string>
#include <vector>

#include "instutils/UserText.h"

namespace inst {
class TPinnedFolders;
}

namespace wizard {

// The texts of a log that cannot be merged: the path, then the reason.
inline constexpr char kCannotOpenLogText[] = USER_TEXT("Cannot open file \"%s\". %s");
inline constexpr char kCannotWriteLogText[] = USER_TEXT("Cannot write file \"%s\". %s");
inline constexpr char kCannotCreateLogText[] = USER_TEXT("Cannot create file \"%s\". %s");
inline constexpr char kLogTooLargeText[] =
    USER_TEXT("The file is larger than 16 MB, too large to merge.");

// "*" and the 16 upper-case hex digits of the date-time's 8 bytes in memory order.
std::string StampLine(double installTime);
// The 8 bytes of the date-time as held in memory (least significant first).
std::string StampBytes(double installTime);
// Replaces the install stamp at path with StampBytes, whole or not at all: a failed write
// leaves the previous stamp (or none). The folder is not made; false after a failure (a link
// on the way below the shared data folder among them), which the user is not told of.
// shared: the installation's held folders below the shared data folder; without them the
// write checks its own way there (so do the log's load and save below).
bool WriteInstallStamp(const std::string& path, double installTime,
                       inst::TPinnedFolders* shared = nullptr);

// Sorts with the log's comparison: user locale, letter case ignored, string sort.
void SortLogLines(std::vector<std::string>& lines);

// Merges one installation into the lines of an existing log: drops empty lines and every
// old line that equals one of publicFiles (sorted), keeps only the oldest of adjacent
// stamp lines and drops a stamp line left last, then appends the new stamp line and the
// files.
void MergeUpdateLog(std::vector<std::string>& log, const std::vector<std::string>& sortedPublic,
                    double installTime);

// A log as read: its lines, which end at CR LF, a lone CR or a lone LF, up to the first NUL
// byte (where the word processor stops reading too), and the bytes from that NUL on, which
// nothing reads or changes but which are kept on the disk.
struct TLogText {
  std::vector<std::string> lines;
  std::string tail;  // empty, or a NUL and what follows it
};
// Throws with the file's name and the reason when it cannot be read, is larger than 16 MB,
// or lies past a link that is not followed below the shared data folder.
TLogText LoadLogText(const std::string& path, inst::TPinnedFolders* shared = nullptr);
// Writes each line with CR LF, then the tail, whole or not at all (a failed save never
// leaves a cut log). Throws like LoadLogText, also when the text would be larger than 16 MB
// (nothing is written then, so the next run can still read the log).
void SaveLogText(const std::string& path, const TLogText& log,
                 inst::TPinnedFolders* shared = nullptr);

}  // namespace wizard
