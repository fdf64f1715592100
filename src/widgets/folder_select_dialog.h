#pragma once
// The folder selection dialog: drive list, folder list from the drive root down to the current
// folder with its subfolders, the current folder's files for orientation, and the current
// folder's path. The lists work by changing the process's current folder and leave it at the
// last folder shown, also when the dialog is cancelled.
#include <cstdint>
#include <string>

enum TSelectDirOpt { sdAllowCreate, sdPerformCreate, sdPrompt };
// Bit i set <=> option i is chosen.
using TSelectDirOpts = uint8_t;
constexpr TSelectDirOpts SelectDirOpt(TSelectDirOpt o) { return static_cast<TSelectDirOpts>(1u << o); }

// Opens the dialog at startFolder. Returns true when confirmed, with folder set to the chosen
// folder as a full path (a drive root keeps its backslash: "C:\"); folder is untouched on Cancel.
bool FolderSelectDialog(std::string& folder, const std::string& startFolder, TSelectDirOpts options,
                        int helpContext);

// The dialog's fixed texts and the ids of its controls, for those who drive it from outside.
inline constexpr const char* FolderSelectDialogTitle = "Select Directory";
inline constexpr const char* FolderCreatePrompt = "The specified directory does not exist. Create it?";
enum TFolderDialogItem : int {
    fdiFolderName = 101,
    fdiPathDisplay = 102,
    fdiFolderList = 103,
    fdiFileList = 104,
    fdiDriveList = 105,
    fdiNetwork = 106,
    fdiHelp = 107,
    fdiNameLabel = 110,
    fdiFoldersLabel = 111,
    fdiFilesLabel = 112,
    fdiDrivesLabel = 113,
    // OK and Cancel are IDOK and IDCANCEL.
};
