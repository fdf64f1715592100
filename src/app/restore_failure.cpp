#include "app/restore_failure.h"

#include "app/backup_failure.h"
#include "app/backup_texts.h"
#include "app/restore_texts.h"
#include "archiver/errors.h"
#include "core/text.h"

namespace {

const char* TextOf(TRestoreCause cause) {
    switch (cause) {
        case TRestoreCause::ArchiveUnreadable: return kArchiveUnreadableText;
        case TRestoreCause::ArchiveDamaged: return kArchiveDamagedText;
        case TRestoreCause::NotADatabaseArchive: return kNotADatabaseArchiveText;
        case TRestoreCause::DatabaseInUse: return kDatabaseInUseText;
        case TRestoreCause::FileInUse: return kFileInUseText;
        case TRestoreCause::DiskFull: return kDiskFullText;
        case TRestoreCause::NotWritable: return kNotWritableText;
        case TRestoreCause::WrittenWrong: return kWrittenWrongText;
        case TRestoreCause::Cancelled: return kRestoreCancelledText;
        case TRestoreCause::Unexpected: break;
    }
    return kUnexpectedText;
}

// The backup's reading of the system's error numbers, for a file written or renamed.
TRestoreCause CauseOf(unsigned long code, TRestoreStep step) {
    switch (CauseOfSystemError(code, TFileRole::File)) {
        case TFailureCause::FileInUse:
            return step == TRestoreStep::Database  ? TRestoreCause::DatabaseInUse
                   : step == TRestoreStep::Archive ? TRestoreCause::ArchiveUnreadable
                                                   : TRestoreCause::FileInUse;
        case TFailureCause::DiskFull: return TRestoreCause::DiskFull;
        case TFailureCause::NotWritable:
            return step == TRestoreStep::Archive ? TRestoreCause::ArchiveUnreadable : TRestoreCause::NotWritable;
        default: return step == TRestoreStep::Archive ? TRestoreCause::ArchiveUnreadable : TRestoreCause::Unexpected;
    }
}

}  // namespace

ERestoreFailure::ERestoreFailure(TRestoreCause cause, std::string path, const std::string& detail)
    : Exception(Format(TextOf(cause), path.c_str(), detail.c_str())), Cause(cause), Path(std::move(path)) {}

void RaiseRestoreFailure(std::exception_ptr error, TRestoreStep step, const std::string& path) {
    std::string detail;
    try {
        std::rethrow_exception(error);
    } catch (const ERestoreFailure&) {
        throw;
    } catch (const EVXException& e) {
        // What the archive's records or data say: it is damaged.
        if (e.NativeError == vxerr::DamagedArchive || e.NativeError == vxerr::VerificationFailed)
            throw ERestoreFailure(TRestoreCause::ArchiveDamaged, path, e.Message());
        detail = e.Message();
    } catch (const std::exception& e) {
        detail = e.what();
    } catch (...) {
    }
    const TRestoreCause cause = CauseOf(SystemErrorOf(error), step);
    throw ERestoreFailure(cause, path, cause == TRestoreCause::Unexpected ? detail : std::string());
}
