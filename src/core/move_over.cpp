#include "core/move_over.h"

#include <windows.h>

namespace {
bool HeldByAnother(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(h);
    return false;
}
}  // namespace

unsigned long MoveOver(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED && HeldByAnother(to)) return ERROR_SHARING_VIOLATION;
    return error;
}
