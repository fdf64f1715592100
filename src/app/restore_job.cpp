#include "app/restore_job.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/restore_files.h"
#include "archiver/deflate/crc32.h"
#include "archiver/errors.h"
#include "archiver/read/archive_test.h"
#include "archiver/read/entry_extract.h"
#include "core/exceptions.h"
#include "core/move_over.h"
#include "core/paths.h"
#include "core/streams.h"
#include "core/text.h"

namespace {

// The archive, read only; nobody may change it while the restore reads it.
std::unique_ptr<TFileStream> OpenArchive(const std::string& archive) {
    try {
        return std::make_unique<TFileStream>(archive, static_cast<uint16_t>(fmOpenRead | fmShareDenyWrite));
    } catch (...) {
        RaiseRestoreFailure(std::current_exception(), TRestoreStep::Archive, archive);
    }
}

TRestoreCandidate CandidateOf(TStream& stream, const std::string& archive, const std::string& databaseFolder) {
    TArchiveTest directory;
    try {
        directory = ReadDirectory(stream);
    } catch (...) {
        RaiseRestoreFailure(std::current_exception(), TRestoreStep::Archive, archive);
    }
    if (!directory.Problem.empty()) throw ERestoreFailure(TRestoreCause::ArchiveDamaged, archive, directory.Problem);
    TRestoreCandidate candidate;
    if (directory.Entries.size() != 1 || !IsDatabaseName(directory.Entries[0].Name, &candidate.Year))
        throw ERestoreFailure(TRestoreCause::NotADatabaseArchive, archive);
    const TTestedEntry& entry = directory.Entries[0];
    candidate.Archive = archive;
    candidate.Entry = entry.Name;
    candidate.Database = JoinPath(databaseFolder, entry.Name);
    candidate.Date = entry.Date;
    candidate.Time = entry.Time;
    candidate.Size = entry.UncompressedSize;
    candidate.Crc32 = entry.Crc32;
    return candidate;
}

// The whole archive tested; raises unless it is sound. A stop is told about stopped.
void TestInFull(TStream& stream, const std::string& archive, const std::function<bool(uint64_t, uint64_t)>& progress,
                const std::string& stopped) {
    TArchiveTestOptions options;
    options.BeforePiece = [&](int64_t done, int64_t total) {
        return progress(static_cast<uint64_t>(done), static_cast<uint64_t>(total));
    };
    TArchiveTest test;
    try {
        test = TestArchive(stream, options);
    } catch (...) {
        RaiseRestoreFailure(std::current_exception(), TRestoreStep::Archive, archive);
    }
    if (test.Stopped) throw ERestoreFailure(TRestoreCause::Cancelled, stopped);
    if (!test.Problem.empty()) throw ERestoreFailure(TRestoreCause::ArchiveDamaged, archive, test.Problem);
    for (const TTestedEntry& entry : test.Entries)
        if (!entry.Problem.empty()) throw ERestoreFailure(TRestoreCause::ArchiveDamaged, archive, entry.Problem);
}

// The temporary file goes on every way out unless it took the database's name.
class TTemporaryFile {
public:
    explicit TTemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TTemporaryFile() {
        if (!kept_) RemoveFile(path_);
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    void Keep() { kept_ = true; }

private:
    std::string path_;
    bool kept_ = false;
};

}  // namespace

TRestoreCandidate ReadRestoreCandidate(const std::string& archive, const std::string& databaseFolder) {
    return CandidateOf(*OpenArchive(archive), archive, databaseFolder);
}

void TestArchiveFile(const std::string& archive, TRestoreObserver& observer) {
    TestInFull(*OpenArchive(archive), archive,
               [&](uint64_t done, uint64_t total) { return observer.Progress(TRestorePhase::Testing, done, total); },
               archive);
}

TRestoreResult TRestoreJob::Run(const std::string& archive, const std::string& databaseFolder) {
    RemoveRestoreLeftovers(databaseFolder);
    const std::unique_ptr<TFileStream> stream = OpenArchive(archive);
    const TRestoreCandidate candidate = CandidateOf(*stream, archive, databaseFolder);
    const std::string& database = candidate.Database;
    TestInFull(*stream, archive,
               [&](uint64_t done, uint64_t total) { return observer_.Progress(TRestorePhase::Testing, done, total); },
               database);
    Report(TRestorePhase::Restoring, 0, candidate.Size, database);

    std::unique_ptr<THeldDatabase> held;
    try {
        held = std::make_unique<THeldDatabase>(database);
        CheckFreeSpace(databaseFolder, candidate.Size);
    } catch (...) {
        RaiseRestoreFailure(std::current_exception(), TRestoreStep::Database, database);
    }
    const std::string temporary = RestoreTemporaryName(database);
    TTemporaryFile removal(temporary);
    WriteEntry(*stream, candidate, temporary);
    CheckWritten(temporary, candidate);
    Report(TRestorePhase::Restoring, candidate.Size, candidate.Size, database);

    TRestoreResult result{database, {}};
    try {
        if (held->Exists()) {
            result.Backup = FreeBackupName(database);
            held->MoveAside(result.Backup);
        }
    } catch (...) {
        RaiseRestoreFailure(std::current_exception(), TRestoreStep::Database, database);
    }
    if (const unsigned long code = MoveOver(temporary, database)) {
        held->MoveBack();
        RaiseRestoreFailure(std::make_exception_ptr(EOSError(SysErrorMessage(code), code)), TRestoreStep::Writing,
                            database);
    }
    removal.Keep();
    return result;
}

void TRestoreJob::WriteEntry(TStream& archive, const TRestoreCandidate& candidate, const std::string& temporary) {
    bool stopped = false;
    try {
        TFileStream out(temporary, fmCreate);
        out.FlushBehind();
        stopped = !ExtractEntry(archive, candidate.Entry, out, [&](int64_t done, int64_t total) {
            return observer_.Progress(TRestorePhase::Restoring, static_cast<uint64_t>(done),
                                      static_cast<uint64_t>(total));
        });
        if (!stopped) {
            SetLastWriteTime(out.Handle(), candidate.Date, candidate.Time);
            out.Flush();
        }
    } catch (const EVXException&) {
        // The archive changed since its test, or reads back otherwise.
        RaiseRestoreFailure(std::current_exception(), TRestoreStep::Archive, candidate.Archive);
    } catch (...) {
        RaiseRestoreFailure(std::current_exception(), TRestoreStep::Writing, candidate.Database);
    }
    if (stopped) throw ERestoreFailure(TRestoreCause::Cancelled, candidate.Database);
}

void TRestoreJob::CheckWritten(const std::string& temporary, const TRestoreCandidate& candidate) {
    uint32_t crc = 0;
    uint64_t size = 0;
    try {
        TFileStream written(temporary, static_cast<uint16_t>(fmOpenRead | fmShareDenyWrite));
        std::vector<uint8_t> buffer(1 << 20);
        for (;;) {
            const int64_t got = written.Read(buffer.data(), static_cast<int64_t>(buffer.size()));
            if (got <= 0) break;
            crc = UpdateCrc32(crc, buffer.data(), got);
            size += static_cast<uint64_t>(got);
            Report(TRestorePhase::Restoring, candidate.Size, candidate.Size, candidate.Database);
        }
    } catch (...) {
        RaiseRestoreFailure(std::current_exception(), TRestoreStep::Writing, candidate.Database);
    }
    if (size != candidate.Size || crc != candidate.Crc32)
        throw ERestoreFailure(TRestoreCause::WrittenWrong, candidate.Database);
}

void TRestoreJob::Report(TRestorePhase phase, uint64_t done, uint64_t total, const std::string& database) {
    if (observer_.Progress(phase, done, total)) throw ERestoreFailure(TRestoreCause::Cancelled, database);
}
