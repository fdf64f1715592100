#include "app/folder_creation.h"

#include <windows.h>

#include "app/name_helpers.h"
#include "core/exceptions.h"

namespace {
bool DirectoryExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

bool ForceDirectories(std::string folder) {
    if (folder.empty()) throw EInOutError("Unable to create directory", 3);
    if (folder.back() == '\\') folder.pop_back();
    std::string parent = ExtractFilePath(folder);
    if (folder.size() < 3 || DirectoryExists(folder) || parent == folder) return true;
    return ForceDirectories(parent) && CreateDirectoryA(folder.c_str(), nullptr);
}
