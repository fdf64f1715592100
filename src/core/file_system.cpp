#include "core/paths.h"

#include <windows.h>

#include "core/exceptions.h"

bool IsExistingFolder(const std::string& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsExistingFile(const std::string& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool ForceDirectories(std::string folder) {
    if (folder.empty()) throw EInOutError("Unable to create directory", 3);
    // A forward slash separates levels as a backslash does: the level above "c:/a/b" is "c:/a/".
    if (IsPathSeparator(folder.back())) folder.pop_back();
    const size_t cut = folder.find_last_of("\\/:");
    const std::string parent = cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
    if (folder.size() < 3 || IsExistingFolder(folder) || parent == folder) return true;
    return ForceDirectories(parent) && CreateDirectoryA(folder.c_str(), nullptr);
}
