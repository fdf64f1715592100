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
    if (folder.back() == '\\') folder.pop_back();
    std::string parent = ExtractFilePath(folder);
    if (folder.size() < 3 || IsExistingFolder(folder) || parent == folder) return true;
    return ForceDirectories(parent) && CreateDirectoryA(folder.c_str(), nullptr);
}
