#include "core/folder_files.h"

#include <windows.h>

#include "core/paths.h"

bool ListFolder(const std::string& folder, const std::string& pattern, std::vector<TFolderEntry>& entries) {
    entries.clear();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        // No match in a folder that is there is not a failure; the folder's absence is.
        return GetLastError() == ERROR_FILE_NOT_FOUND && IsExistingFolder(folder);
    }
    do {
        TFolderEntry entry;
        entry.Name = found.cFileName;
        if (entry.Name == "." || entry.Name == "..") continue;
        entry.Size = (uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
        entry.WriteTime = (uint64_t{found.ftLastWriteTime.dwHighDateTime} << 32) | found.ftLastWriteTime.dwLowDateTime;
        entry.Folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.ReadOnly = (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        entries.push_back(std::move(entry));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}
