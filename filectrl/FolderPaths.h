// The path arithmetic of the folder tree list: depth, ancestors, visible sub-folders, the
// nearest existing folder of a path and the folder to show on another drive. Folders are
// asked about through FolderExists, which leaves the current folder as it was, and with
// the system's critical-error dialogs suppressed: a drive without a medium shows no box.
#pragma once

#include <string>
#include <vector>

namespace filectrl {

// The number of backslashes after one trailing backslash is removed: C:\ is 0,
// C:\A is 1, C:\A\B\ is 2.
int FolderDepth(const std::string& path);

// Everything after the last backslash or colon.
std::string NamePart(const std::string& path);

// The open folders of the tree: the drive root first (C:\), then every ancestor and the
// folder itself, each without a trailing backslash. Empty for an empty path.
std::vector<std::string> AncestorChain(std::string folder);

// The names of the folder's sub-folders, hidden and system ones left out, sorted as the
// user locale sorts strings (case ignored, punctuation significant). A folder that
// cannot be listed has none.
std::vector<std::string> SubFolderNames(const std::string& folder);

// The path itself when it exists as a folder, else its nearest existing ancestor as cut
// from the text (with its trailing backslash). The walk stops at the drive root
// (C:\ or \\server\share\) even when that does not exist. A path without a drive letter
// or network share ("\foo", "foo") has no place in the tree: empty.
std::string NearestExistingFolder(std::string path);

// The folder to show when the user moves to drive `letter`: on the drive of the Program
// Files folder its "Zentrova" sub-folder, else Program Files itself; on another drive the
// same path as `current` when it exists there, else the drive root.
std::string FolderOnDrive(char letter, const std::string& current, const std::string& programFiles);

}  // namespace filectrl
