#pragma once
// One restore of a year's database from a backup archive, without a window: the way back that
// the dialog and snimanje_backup.exe --restore share. The archive is tested in full first; the
// current database is held so that no program can open it, the entry is written beside it,
// flushed and read back, and only then does the current database become its .bak and the
// restored file take its name. Every failure leaves the current database as it was and no
// temporary file of the restore.
#include <cstdint>
#include <string>

#include "app/restore_failure.h"
#include "app/restore_observer.h"

class TStream;
// What an archive offers to restore, read from its directory alone.
struct TRestoreCandidate {
    std::string Archive;
    std::string Entry;     // BRODANIKVESTRA_G<year>.fdb
    std::string Year;
    std::string Database;  // the database it replaces: Entry in the database folder
    uint16_t Date = 0;     // the entry's MS-DOS date and time (local): when the database was saved
    uint16_t Time = 0;
    uint64_t Size = 0;
    uint32_t Crc32 = 0;
};

struct TRestoreResult {
    std::string Database;
    std::string Backup;  // the earlier database's new name; empty when there was none
};

// Raises ERestoreFailure (ArchiveUnreadable, ArchiveDamaged, NotADatabaseArchive).
TRestoreCandidate ReadRestoreCandidate(const std::string& archive, const std::string& databaseFolder);

// The test of an archive the dialog offers: raises ERestoreFailure (ArchiveUnreadable,
// ArchiveDamaged with the first fault, Cancelled) unless every entry is sound; Testing reports.
void TestArchiveFile(const std::string& archive, TRestoreObserver& observer);

class TRestoreJob {
public:
    explicit TRestoreJob(TRestoreObserver& observer) : observer_(observer) {}

    // Raises ERestoreFailure; nothing of the database folder is changed then, but for leftovers
    // of killed restores, which go first.
    TRestoreResult Run(const std::string& archive, const std::string& databaseFolder);

private:
    // Writes the entry to the temporary file, flushed, with the entry's time.
    void WriteEntry(TStream& archive, const TRestoreCandidate& candidate, const std::string& temporary);
    // The temporary file read back from the disk: the entry's size and CRC-32.
    void CheckWritten(const std::string& temporary, const TRestoreCandidate& candidate);
    void Report(TRestorePhase phase, uint64_t done, uint64_t total, const std::string& database);

    TRestoreObserver& observer_;
};
