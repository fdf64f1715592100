#include "app/settings_location.h"

#include <windows.h>
#include <shlobj.h>

#include "core/paths.h"

namespace {

constexpr const char* kSettingsFolder = "Snimanje";

bool HasFolder(const std::string& fileName) { return fileName.find_first_of("\\/:") != std::string::npos; }

std::string ApplicationDataFolder() {
    char folder[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return folder;
}

// The folder, placement and any other keys of an earlier version's file carry over as they
// are; the copy is the program's own to write, whatever the earlier file's attributes were.
void TakeOverEarlierFile(const std::string& fileName, const std::string& userFile) {
    if (IsExistingFile(userFile)) return;
    char windows[MAX_PATH];
    if (!GetWindowsDirectoryA(windows, sizeof windows)) return;
    if (CopyFileA(JoinPath(windows, fileName).c_str(), userFile.c_str(), TRUE))
        SetFileAttributesA(userFile.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

std::string UserSettingsFile(const std::string& fileName) {
    if (HasFolder(fileName)) return fileName;
    const std::string appData = ApplicationDataFolder();
    if (appData.empty()) return fileName;
    const std::string folder = JoinPath(appData, kSettingsFolder);
    if (!ForceDirectories(folder)) return fileName;
    const std::string userFile = JoinPath(folder, fileName);
    TakeOverEarlierFile(fileName, userFile);
    return userFile;
}
