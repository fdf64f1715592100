#include "app/settings_location.h"

#include <windows.h>
#include <shlobj.h>

#include "core/paths.h"

namespace {

constexpr const char* kSettingsFolder = "Snimanje";

bool HasFolder(const std::string& fileName) { return fileName.find_first_of("\\/:") != std::string::npos; }

// The path in the program's code page, which the private-profile functions take; empty when
// the code page cannot carry it: a letter it lacks comes out as "?" or as a look-alike (N for
// an N with a tilde), and either names a folder that is not the user's.
std::string InCodePage(const std::wstring& path) {
    const int length = static_cast<int>(path.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, path.c_str(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), length, narrow.data(), size, nullptr, nullptr);
    std::wstring back(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, narrow.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, narrow.data(), size, back.data(), static_cast<int>(back.size()));
    return back == path ? narrow : std::string();
}

// A user name in another script than the code page's (a profile folder C:\Users\<name>) is
// reached by the folder's short name, which the file system keeps in plain letters. Empty when
// the platform has no such folder (or none the code page can name).
std::string KnownFolder(int csidl) {
    wchar_t folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    std::string narrow = InCodePage(folder);
    if (!narrow.empty()) return narrow;
    wchar_t shortFolder[MAX_PATH];
    const DWORD n = GetShortPathNameW(folder, shortFolder, MAX_PATH);
    return n && n < MAX_PATH ? InCodePage(shortFolder) : std::string();
}

// The earlier version's file as that version saw it. It asked for no execution level, so on
// Windows Vista and later its writes to the Windows folder went, for a user without elevation, to
// the user's virtual store (the Windows folder's path below VirtualStore in the local
// application-data folder), and it read that copy in place of the Windows folder's own.
std::string EarlierFile(const std::string& fileName) {
    char windows[MAX_PATH];
    if (!GetWindowsDirectoryA(windows, sizeof windows)) return {};
    const std::string windowsFile = JoinPath(windows, fileName);
    const std::string local = KnownFolder(CSIDL_LOCAL_APPDATA);
    if (local.empty()) return windowsFile;
    const std::string store = JoinPath(local, "VirtualStore") + windowsFile.substr(DrivePartOf(windowsFile).size());
    return IsExistingFile(store) ? store : windowsFile;
}

// The folder, placement and any other keys of an earlier version's file carry over as they
// are; the copy is the program's own to write, whatever the earlier file's attributes were.
void TakeOverEarlierFile(const std::string& fileName, const std::string& userFile) {
    if (IsExistingFile(userFile)) return;
    const std::string earlier = EarlierFile(fileName);
    if (!earlier.empty() && CopyFileA(earlier.c_str(), userFile.c_str(), TRUE))
        SetFileAttributesA(userFile.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

std::string UserSettingsFile(const std::string& fileName) {
    if (HasFolder(fileName)) return fileName;
    const std::string appData = KnownFolder(CSIDL_APPDATA | CSIDL_FLAG_CREATE);
    if (appData.empty()) return fileName;
    const std::string folder = JoinPath(appData, kSettingsFolder);
    if (!ForceDirectories(folder)) return fileName;
    const std::string userFile = JoinPath(folder, fileName);
    TakeOverEarlierFile(fileName, userFile);
    return userFile;
}
