#include "archiver/write/archive_files.h"

#include <windows.h>

#include "core/exceptions.h"
#include "core/text.h"

bool DeleteArchiveFile(const std::string& path) { return !path.empty() && DeleteFileA(path.c_str()) != 0; }

std::string SystemTempFolder() {
    char buffer[256] = {};
    DWORD n = GetTempPathA(255, buffer);
    if (n == 0 || n > 255) return std::string();
    return std::string(buffer, n);
}

std::string CreateUniqueTempFile(const std::string& folder, const std::string& prefix) {
    char buffer[MAX_PATH + 1] = {};
    if (GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, buffer) == 0) {
        DWORD error = GetLastError();
        throw EFCreateError(Format("Cannot create file \"%s\". %s", (folder + prefix + "*.tmp").c_str(),
                                   SysErrorMessage(error).c_str()));
    }
    return buffer;
}
