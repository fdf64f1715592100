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
// reached by the folder's short name, which the file system keeps in plain letters.
std::string ApplicationDataFolder() {
    wchar_t folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    std::string narrow = InCodePage(folder);
    if (!narrow.empty()) return narrow;
    wchar_t shortFolder[MAX_PATH];
    const DWORD n = GetShortPathNameW(folder, shortFolder, MAX_PATH);
    return n && n < MAX_PATH ? InCodePage(shortFolder) : std::string();
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
