#include "core/paths.h"

#include <windows.h>

#include "core/exceptions.h"

std::string AddTrailingBackslash(const std::string& folder) {
    if (!folder.empty() && folder.back() == '\\') return folder;
    return folder + "\\";
}

std::string JoinPath(const std::string& folder, const std::string& name) { return AddTrailingBackslash(folder) + name; }

std::string ExtractFilePath(const std::string& path) {
    size_t i = path.find_last_of("\\:");
    return i == std::string::npos ? std::string() : path.substr(0, i + 1);
}

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
