#include "app/backup_failure.h"

#include <windows.h>

#include "app/backup_texts.h"
#include "archiver/errors.h"
#include "core/text.h"

namespace {

const char* TextOf(TFailureCause cause) {
    switch (cause) {
        case TFailureCause::DatabaseMissing: return kDatabaseMissingText;
        case TFailureCause::DatabaseInUse: return kDatabaseInUseText;
        case TFailureCause::DatabaseUnreadable: return kDatabaseUnreadableText;
        case TFailureCause::FolderNotCreated: return kFolderNotCreatedText;
        case TFailureCause::NotWritable: return kNotWritableText;
        case TFailureCause::DiskFull: return kDiskFullText;
        case TFailureCause::FileInUse: return kFileInUseText;
        case TFailureCause::VerificationFailed: return kVerificationFailedText;
        case TFailureCause::Cancelled: return kCancelledText;
        case TFailureCause::Unexpected: break;
    }
    return kUnexpectedText;
}

bool IsInUse(unsigned long code) { return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION; }
bool IsDiskFull(unsigned long code) { return code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL; }
bool IsRefused(unsigned long code) { return code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT; }
bool IsMissing(unsigned long code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_NAME ||
           code == ERROR_BAD_NETPATH || code == ERROR_INVALID_DRIVE;
}

std::string DetailOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return {};
    }
}

}  // namespace

unsigned long SystemErrorOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const EOSError& e) {
        return e.ErrorCode;
    } catch (const EInOutError& e) {
        return static_cast<unsigned long>(e.ErrorCode);
    } catch (const EStreamError& e) {
        return e.OsError;
    } catch (...) {
        return 0;
    }
}

EBackupFailure::EBackupFailure(TFailureCause cause, std::string path, const std::string& detail)
    : Exception(Format(TextOf(cause), path.c_str(), detail.c_str())), Cause(cause), Path(std::move(path)) {}

TFailureCause CauseOfSystemError(unsigned long code, TFileRole role) {
    switch (role) {
        case TFileRole::Database:
            if (IsMissing(code)) return TFailureCause::DatabaseMissing;
            if (IsInUse(code)) return TFailureCause::DatabaseInUse;
            return TFailureCause::DatabaseUnreadable;
        case TFileRole::Folder:
            return IsDiskFull(code) ? TFailureCause::DiskFull : TFailureCause::FolderNotCreated;
        case TFileRole::File:
            if (IsInUse(code)) return TFailureCause::FileInUse;
            if (IsDiskFull(code)) return TFailureCause::DiskFull;
            if (IsRefused(code)) return TFailureCause::NotWritable;
            break;
    }
    return TFailureCause::Unexpected;
}

void RaiseBackupFailure(std::exception_ptr error, TFileRole role, const std::string& path) {
    try {
        std::rethrow_exception(error);
    } catch (const EBackupFailure&) {
        throw;
    } catch (const EVXException& e) {
        // The archive was read back and is not what was written; it has been rolled back.
        if (e.NativeError == vxerr::VerificationFailed) throw EBackupFailure(TFailureCause::VerificationFailed, path);
    } catch (...) {
    }
    const TFailureCause cause = CauseOfSystemError(SystemErrorOf(error), role);
    throw EBackupFailure(cause, path, cause == TFailureCause::Unexpected ? DetailOf(error) : std::string());
}
