#include "app/backup_job.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

#include "app/backup_texts.h"
#include "app/run_log.h"
#include "app/space_check.h"
#include "archiver/base_archiver.h"
#include "core/archive_replacement.h"
#include "core/disk_space.h"
#include "core/file_copy.h"
#include "core/paths.h"
#include "core/text.h"

namespace {

// Every kind of file: read-only, hidden, system, volume label, folder and archive bits.
constexpr uint16_t kAnyFile = 63;

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

TRunOutcome OutcomeOf(const EBackupFailure& failure) {
    if (failure.Cause == TFailureCause::Cancelled) return TRunOutcome::Stopped;
    if (failure.Cause == TFailureCause::NoSpace) return TRunOutcome::Refused;
    return TRunOutcome::Failed;
}

// The log's detail of a success: the file names of what the kept number removed and left.
std::string PrunedDetail(const TPrunedArchives& pruned) {
    std::string removed, detail;
    for (const std::string& path : pruned.Removed) removed += (removed.empty() ? "" : ", ") + ExtractFileName(path);
    if (!removed.empty()) detail = Format(kRemovedText, removed.c_str());
    for (const std::string& path : pruned.Left)
        detail += (detail.empty() ? "" : "; ") + Format(kNotPrunedText, ExtractFileName(path).c_str());
    return detail;
}

}  // namespace

TBackupJob::TBackupJob(TVXBaseArchiver& archiver, TBackupObserver& observer)
    : archiver_(archiver), observer_(observer) {}

std::string TBackupJob::Run(const TBackupRequest& request) {
    // Input that names no backup is the operator's typing, not a run: it is not logged.
    CheckBackupRequest(request);
    const TBackupNames names = MakeBackupNames(request.Folder, request.ProgramFolder, request.Year, request.Date);
    pruned_ = {};
    TRunRecord record;
    record.Started = Now();
    record.Year = request.Year;
    record.Archive = names.Archive;
    FileSizeOf(names.Source, record.DatabaseSize);
    const auto start = std::chrono::steady_clock::now();
    auto log = [&] {
        record.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        AppendRunLog(logFile_, record);
    };
    try {
        record.DatabaseSize = BackUp(request, names);
    } catch (const EBackupFailure& e) {
        record.Outcome = OutcomeOf(e);
        record.Detail = e.Message();
        log();
        throw;
    }
    record.Outcome = TRunOutcome::Saved;
    FileSizeOf(names.Archive, record.ArchiveSize);
    record.Detail = PrunedDetail(pruned_);
    log();
    return names.Archive;
}

uint64_t TBackupJob::BackUp(const TBackupRequest& request, const TBackupNames& names) {
    RemoveLeftovers(names);
    CheckBackupSpace(names, request.Year, LastCompressionRatio(logFile_, request.Year));
    MakeFolder(kStagingFolder);
    MakeFolder(request.Folder);
    const uint64_t size = CopyDatabase(names);
    Pack(names, size);
    // The new archive is verified and in its place; a removal that goes wrong is told, it does
    // not undo the backup.
    try {
        pruned_ = PruneArchives(names.Archive, request.Year, request.Keep);
    } catch (const Exception&) {
    }
    return size;
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
        archiver_.AddMatchingFiles(names.Staging, kAnyFile, "");
        if (stop) throw EBackupCancelled(names.Archive);
        archiver_.Flush();
        archiver_.Close();
        replacement.PutInPlace();
    } catch (const EFOpenError&) {
        // The archiver opens and reads the staging copy; every other failure here is the
        // archive's.
        RaiseBackupFailure(std::current_exception(), TFileRole::File, names.Staging);
    } catch (const EReadError&) {
        RaiseBackupFailure(std::current_exception(), TFileRole::File, names.Staging);
    } catch (...) {
        RaiseBackupFailure(std::current_exception(), TFileRole::File, names.Archive);
    }
}

void TBackupJob::Report(TBackupPhase phase, uint64_t done, uint64_t total, const std::string& archive) {
    if (observer_.Progress(phase, done, total)) throw EBackupCancelled(archive);
}
