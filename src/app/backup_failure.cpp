#include "app/backup_failure.h"

#include <windows.h>

#include "app/backup_texts.h"
#include "archiver/errors.h"
#include "core/paths.h"
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
        case TFailureCause::BackupRunning: return kBackupRunningText;
        case TFailureCause::DriveUnavailable: return kDriveUnavailableText;
        case TFailureCause::NetworkUnavailable: return kNetworkUnavailableText;
        case TFailureCause::MediumDamaged: return kMediumDamagedText;
        case TFailureCause::Unexpected: break;
    }
    return kUnexpectedText;
}

bool IsInUse(unsigned long code) { return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION; }
bool IsDiskFull(unsigned long code) { return code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL; }
bool IsRefused(unsigned long code) { return code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT; }
// What a drive that goes away gives while it is used: pulled out, its medium taken out, or a
// handle left on a volume that is no longer there.
bool IsDriveGone(unsigned long code) {
    return code == ERROR_NOT_READY || code == ERROR_GEN_FAILURE || code == ERROR_FILE_INVALID ||
           code == ERROR_MEDIA_CHANGED || code == ERROR_NO_MEDIA_IN_DRIVE || code == ERROR_IO_DEVICE ||
           code == ERROR_DEVICE_NOT_CONNECTED || code == ERROR_DEVICE_REMOVED;
}
// What a share gives when the network or its server goes away under an open file.
bool IsNetworkGone(unsigned long code) {
    return code == ERROR_NETNAME_DELETED || code == ERROR_UNEXP_NET_ERR || code == ERROR_SEM_TIMEOUT ||
           code == ERROR_DEV_NOT_EXIST || code == ERROR_BAD_NET_RESP || code == ERROR_NETWORK_UNREACHABLE ||
           code == ERROR_VC_DISCONNECTED;
}
bool IsMediumDamaged(unsigned long code) {
    return code == ERROR_CRC || code == ERROR_SEEK || code == ERROR_SECTOR_NOT_FOUND || code == ERROR_WRITE_FAULT ||
           code == ERROR_READ_FAULT || code == ERROR_DISK_OPERATION_FAILED;
}
bool IsMissing(unsigned long code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_NAME ||
           code == ERROR_BAD_NETPATH || code == ERROR_INVALID_DRIVE;
}

// The system's error number an exception carries; 0 when it carries none. A failure raised
// over another one (a rollback that failed after the write it undid) carries the first one's.
unsigned long SystemErrorOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const EOSError& e) {
        return e.ErrorCode;
    } catch (const EInOutError& e) {
        return static_cast<unsigned long>(e.ErrorCode);
    } catch (const EStreamError& e) {
        return e.OsError;
    } catch (const std::nested_exception& e) {
        return e.nested_ptr() ? SystemErrorOf(e.nested_ptr()) : 0;
    } catch (...) {
        return 0;
    }
}

// A drive or share that went away is named by its root: the operator plugs in "e:", not a file.
std::string ShownPath(TFailureCause cause, const std::string& path) {
    if (cause != TFailureCause::DriveUnavailable && cause != TFailureCause::NetworkUnavailable) return path;
    const std::string root = DrivePartOf(path);
    return root.empty() ? path : root;
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

EBackupFailure::EBackupFailure(TFailureCause cause, std::string path, const std::string& detail)
    : Exception(Format(TextOf(cause), ShownPath(cause, path).c_str(), detail.c_str())),
      Cause(cause),
      Path(std::move(path)) {}

TFailureCause CauseOfSystemError(unsigned long code, TFileRole role) {
    // Whatever the step was doing: the drive, the share or the disk itself is the cause.
    if (IsDriveGone(code)) return TFailureCause::DriveUnavailable;
    if (IsNetworkGone(code)) return TFailureCause::NetworkUnavailable;
    if (IsMediumDamaged(code)) return TFailureCause::MediumDamaged;
    switch (role) {
        case TFileRole::Database:
            if (IsMissing(code)) return TFailureCause::DatabaseMissing;
            if (IsInUse(code)) return TFailureCause::DatabaseInUse;
            return TFailureCause::DatabaseUnreadable;
        case TFileRole::Folder:
            return IsDiskFull(code) ? TFailureCause::DiskFull : TFailureCause::FolderNotCreated;
        case TFileRole::File:
            // The staging copy or the archive, or the folder the backup has just made for it, is
            // no longer there while the backup uses it: its drive went away (a volume that is
            // gone leaves its mount point behind, where Windows finds nothing).
            if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return TFailureCause::DriveUnavailable;
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
    TFailureCause cause = CauseOfSystemError(SystemErrorOf(error), role);
    // A drive that is a share on another machine is a network folder to the operator.
    if (cause == TFailureCause::DriveUnavailable && IsUncPath(path)) cause = TFailureCause::NetworkUnavailable;
    throw EBackupFailure(cause, path, cause == TFailureCause::Unexpected ? DetailOf(error) : std::string());
}
