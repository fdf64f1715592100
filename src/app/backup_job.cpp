#include "app/backup_job.h"

#include <windows.h>

#include <algorithm>

#include "app/backup_lock.h"
#include "archiver/base_archiver.h"
#include "core/archive_replacement.h"
#include "core/file_copy.h"
#include "core/paths.h"

namespace {

uint64_t BytesOfPercent(double percent, uint64_t total) {
    const double share = std::clamp(percent, 0.0, 100.0) / 100.0;
    return static_cast<uint64_t>(share * static_cast<double>(total));
}

// Puts a handler on an archiver event for as long as it lives, and the earlier one back after.
template <class Event>
class TScopedHandler {
public:
    TScopedHandler(Event& event, Event handler) : event_(event), saved_(std::move(event)) { event_ = std::move(handler); }
    ~TScopedHandler() { event_ = std::move(saved_); }
    TScopedHandler(const TScopedHandler&) = delete;
    TScopedHandler& operator=(const TScopedHandler&) = delete;

private:
    Event& event_;
    Event saved_;
};

// Releases the archive file on every way out, so that an unfinished one can be removed.
class TArchiverRelease {
public:
    explicit TArchiverRelease(TVXBaseArchiver& archiver) : archiver_(archiver) {}
    ~TArchiverRelease() { archiver_.Close(); }
    TArchiverRelease(const TArchiverRelease&) = delete;
    TArchiverRelease& operator=(const TArchiverRelease&) = delete;

private:
    TVXBaseArchiver& archiver_;
};

}  // namespace

TBackupJob::TBackupJob(TVXBaseArchiver& archiver, TBackupObserver& observer)
    : archiver_(archiver), observer_(observer) {}

std::string TBackupJob::Run(const TBackupRequest& request) {
    CheckBackupRequest(request);
    const TBackupNames names = MakeBackupNames(request.Folder, request.ProgramFolder, request.Year, request.Date);
    const TBackupLock lock(names);
    RemoveLeftovers(names);
    MakeFolder(kStagingFolder);
    MakeFolder(request.Folder);
    const uint64_t size = CopyDatabase(names);
    Pack(names, size);
    return names.Archive;
}

void TBackupJob::RemoveLeftovers(const TBackupNames& names) {
    // A file that another backup of the same names has open right now is refused and stays.
    DeleteFileA(TemporaryArchiveName(names.Archive).c_str());
    DeleteFileA(CopyTemporaryName(names.Staging).c_str());
}

void TBackupJob::MakeFolder(const std::string& folder) const {
    try {
        if (!ForceDirectories(folder)) throw EOSError("", GetLastError());
    } catch (...) {
        RaiseBackupFailure(std::current_exception(), TFileRole::Folder, folder);
    }
}

uint64_t TBackupJob::CopyDatabase(const TBackupNames& names) {
    uint64_t size = 0;
    try {
        CopyFileDenyingWriters(names.Source, names.Staging, [&](uint64_t done, uint64_t total) {
            size = total;
            Report(TBackupPhase::Copying, done, total, names.Archive);
        });
    } catch (const EFileCopyError& e) {
        RaiseBackupFailure(std::current_exception(), e.Source ? TFileRole::Database : TFileRole::File, e.Path);
    } catch (...) {
        RaiseBackupFailure(std::current_exception(), TFileRole::File, names.Staging);
    }
    return size;
}

void TBackupJob::Pack(const TBackupNames& names, uint64_t size) {
    bool stop = false;
    bool verifying = false;
    TScopedHandler<TVXProgressEvent> forwarding(
        archiver_.OnOverallProgress,
        [&](TObject*, double percent, TVXProcessOperation operation, TVXProgressPhase, bool& cancel) {
            // The archiver stops at a cancel of its own and rolls back; the job then owes the
            // caller the cancel exception.
            auto report = [&](TBackupPhase phase, uint64_t done) {
                if (stop || observer_.Progress(phase, done, size)) stop = cancel = true;
            };
            // The reading back reports as a test. The archiver tells the end of the writing only
            // after it, so the packing is completed here, and that late end must not take the
            // operator back to the packing.
            if (operation == poTest && !verifying) {
                verifying = true;
                report(TBackupPhase::Packing, size);
            }
            report(verifying ? TBackupPhase::Verifying : TBackupPhase::Packing, BytesOfPercent(percent, size));
        });
    // Creating the archive in place would empty an earlier backup of the same day before the
    // new one is known to be good.
    TArchiveReplacement replacement(names.Archive);
    try {
        TArchiverRelease release(archiver_);
        archiver_.SetFileName(replacement.TemporaryName());
        archiver_.Open(fmCreate);
        archiver_.SetBaseDir(kStagingFolder);
        archiver_.AddMatchingFiles(names.Staging, faAnyFile, "");
        if (stop) throw EBackupCancelled(names.Archive);
        archiver_.Flush();
        archiver_.Close();
        replacement.PutInPlace();
    } catch (const EFOpenError&) {
        // The archiver opens and reads the staging copy; every other failure here is the
        // archive's.
        RaiseBackupFailure(std::current_exception(), TFileRole::File, names.Staging);
    } catch (const EReadError&) {
        // Once the reading back has begun, what is read is the archive.
        RaiseBackupFailure(std::current_exception(), TFileRole::File, verifying ? names.Archive : names.Staging);
    } catch (...) {
        RaiseBackupFailure(std::current_exception(), TFileRole::File, names.Archive);
    }
}

void TBackupJob::Report(TBackupPhase phase, uint64_t done, uint64_t total, const std::string& archive) {
    if (observer_.Progress(phase, done, total)) throw EBackupCancelled(archive);
}
