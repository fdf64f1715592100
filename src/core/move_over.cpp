#include "core/move_over.h"

#include <windows.h>

#include "core/file_faults.h"
#include "core/patience.h"

namespace {

bool IsReadOnlyOrFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

// Another program has path open. Opening it for deletion fails when the holder does not share
// deletion; when it does, the open succeeds, and a file that may be deleted, is neither
// read-only nor a folder and still cannot be replaced is held all the same.
bool HeldByAnother(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(h);
    return !IsReadOnlyOrFolder(path);
}

// Retries step while its refusal passes: a sharing violation passes when the other program
// closes the file; access denied does too when it comes from a file held open (or deleted while
// still open) rather than from a read-only one or a folder.
template <class Step>
DWORD Patiently(const std::string& path, Step step) {
    return TryPatiently(step, [&](unsigned long error) {
        return error == ERROR_SHARING_VIOLATION || (error == ERROR_ACCESS_DENIED && !IsReadOnlyOrFolder(path));
    });
}

}  // namespace

unsigned long MoveOver(const std::string& from, const std::string& to) {
    if (const unsigned long refused = FileFault(TFileStep::Rename, to)) return refused;
    const DWORD error = Patiently(to, [&] {
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
    if (error == ERROR_ACCESS_DENIED && HeldByAnother(to)) return ERROR_SHARING_VIOLATION;
    return error;
}

bool RemoveFile(const std::string& path) {
    const DWORD error = Patiently(path, [&] { return DeleteFileA(path.c_str()) != 0; });
    return error == 0 || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
