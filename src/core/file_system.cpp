#include "core/paths.h"

#include <windows.h>

#include <vector>

#include "core/exceptions.h"

std::string CurrentFolder() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    std::vector<char> buffer(needed + 1);
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::string(buffer.data(), length);
}

std::string FullPathName(const std::string& path) {
    if (path.empty()) return {};
    std::vector<char> buffer(MAX_PATH + 1);
    DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    }
    if (length == 0 || length >= buffer.size()) return {};
    return std::string(buffer.data(), length);
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
    // A forward slash separates levels as a backslash does: the level above "c:/a/b" is "c:/a/".
    if (IsPathSeparator(folder.back())) folder.pop_back();
    const size_t cut = folder.find_last_of("\\/:");
    const std::string parent = cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
    if (folder.size() < 3 || IsExistingFolder(folder) || parent == folder) return true;
    return ForceDirectories(parent) && CreateDirectoryA(folder.c_str(), nullptr);
}
