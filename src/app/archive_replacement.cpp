#include "app/archive_replacement.h"

#include <windows.h>

#include "core/exceptions.h"
#include "core/text.h"

namespace {
[[noreturn]] void RaiseSystemError(DWORD code) { throw EOSError(SysErrorMessage(code), code); }
}  // namespace

TArchiveReplacement::TArchiveReplacement(std::string archiveName)
    : archiveName_(std::move(archiveName)), temporaryName_(archiveName_ + ".tmp") {}

void TArchiveReplacement::PutInPlace() const {
    // Not every file system refuses to rename over a read-only file; checking first makes
    // the outcome the same everywhere.
    DWORD attributes = GetFileAttributesA(archiveName_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        RaiseSystemError(ERROR_ACCESS_DENIED);
    if (!MoveFileExA(temporaryName_.c_str(), archiveName_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        RaiseSystemError(GetLastError());
}

void TArchiveReplacement::Discard() const { DeleteFileA(temporaryName_.c_str()); }
