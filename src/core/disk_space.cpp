#include "core/disk_space.h"

#include <windows.h>

#include "core/paths.h"

bool FreeSpaceFor(const std::string& path, uint64_t& freeBytes) {
    std::string folder = FullPathName(path);
    if (folder.empty()) return false;
    // Up to the drive (or share) itself: the folders of a new target are made only later.
    const std::string root = AddTrailingBackslash(DrivePartOf(folder));
    while (folder.size() > root.size() && !IsExistingFolder(folder)) {
        if (IsPathSeparator(folder.back())) folder.pop_back();
        folder = ExtractFilePath(folder);
    }
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(AddTrailingBackslash(folder).c_str(), &available, nullptr, nullptr)) return false;
    freeBytes = available.QuadPart;
    return true;
}

bool FileSizeOf(const std::string& path, uint64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return true;
}
