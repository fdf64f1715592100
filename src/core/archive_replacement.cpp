#include "core/archive_replacement.h"

#include <windows.h>

#include "core/exceptions.h"
#include "core/move_over.h"
#include "core/text.h"

namespace {
[[noreturn]] void RaiseSystemError(DWORD code) { throw EOSError(SysErrorMessage(code), code); }
}  // namespace

std::string TemporaryArchiveName(const std::string& archiveName) { return archiveName + ".tmp"; }

TArchiveReplacement::TArchiveReplacement(std::string archiveName)
    : archiveName_(std::move(archiveName)), temporaryName_(TemporaryArchiveName(archiveName_)) {}

void TArchiveReplacement::PutInPlace() {
    // Not every file system refuses to rename over a read-only file; checking first makes
    // the outcome the same everywhere.
    DWORD attributes = GetFileAttributesA(archiveName_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        RaiseSystemError(ERROR_ACCESS_DENIED);
    if (unsigned long refused = MoveOver(temporaryName_, archiveName_)) RaiseSystemError(refused);
    inPlace_ = true;
}

TArchiveReplacement::~TArchiveReplacement() {
    if (!inPlace_) Discard();
}

void TArchiveReplacement::Discard() const { RemoveFile(temporaryName_); }
