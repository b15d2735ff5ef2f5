// The word processor's fixed names, shared by the wizard, the store and the folder tree
// list so that they cannot drift apart.
#pragma once

namespace inst {

// The word processor's own folder name: under Program Files, and its shared data folder.
inline constexpr char kHostFolderName[] = "Zentrova";
// Below the shared data folder (inst::SharedDataFolder): where a shared installation puts
// the modules, and the records it leaves.
inline constexpr char kPublicSubfolder[] = "Public\\";
inline constexpr char kInstallStampFile[] = "Hidden\\install_stamp";
inline constexpr char kUpdateLogFile[] = "Update.log";
// The executable in the home folder.
inline constexpr char kHostExe[] = "qzv.exe";
// The property the word processor puts on its top-level window while it runs.
inline constexpr char kHostWindowProperty[] = "1.x Quillmarsh";
// The word processor's two language-module folders, in the order they are served.
inline constexpr const char* kModuleSubfolders[2] = {"Spellcheck\\", "Orthographe\\"};

}  // namespace inst
