#pragma once
// One backup from the operator's request to the archive in place, without a window: the folders
// made, the database copied while no other program can write it, the copy packed into a
// temporary archive that replaces the earlier one only when it is complete and on the disk.
#include <cstdint>
#include <string>

#include "app/backup_failure.h"
#include "app/backup_names.h"
#include "app/backup_observer.h"
#include "app/backup_request.h"
#include "app/retention.h"

class TVXBaseArchiver;

class TBackupJob {
public:
    // archiver: set up as the dialog's (fastest deflate, Verify on, so that the archive is read
    // back from the disk before it replaces the earlier one); its OnOverallProgress is taken
    // over while the job packs and verifies.
    TBackupJob(TVXBaseArchiver& archiver, TBackupObserver& observer);

    // Returns the archive's full name. Raises EBackupInput, before anything is made, for a
    // request that cannot name a backup, and EBackupFailure (EBackupCancelled for a stop) for a
    // backup that did not complete: the earlier archive and the earlier staging copy are then as
    // they were, and no temporary file of the backup is left (nor one an earlier, killed run
    // left under the same names).
    //
    // Before anything is written the space is checked (see space_check.h); after the archive is
    // in place, older ones beyond request.Keep are removed (see Pruned). Every run that gets past
    // the request's check is told in the history log, if one is set.
    std::string Run(const TBackupRequest& request);

    // The history log every run is appended to (run_log.h); none until set.
    void LogTo(std::string logFile) { logFile_ = std::move(logFile); }
    // What the last run removed under request.Keep, and what it could not.
    const TPrunedArchives& Pruned() const { return pruned_; }

private:
    // The backup itself, from the space check to the pruning; returns the database's size.
    uint64_t BackUp(const TBackupRequest& request, const TBackupNames& names);
    // The temporary files a killed run left under this backup's names. This run would write over
    // them, but a failure before it gets there would leave them lying.
    static void RemoveLeftovers(const TBackupNames& names);
    void MakeFolder(const std::string& folder) const;
    // Returns the database's size.
    uint64_t CopyDatabase(const TBackupNames& names);
    void Pack(const TBackupNames& names, uint64_t size);
    // Passes a report on; raises EBackupCancelled when the observer asks to stop.
    void Report(TBackupPhase phase, uint64_t done, uint64_t total, const std::string& archive);

    TVXBaseArchiver& archiver_;
    TBackupObserver& observer_;
    std::string logFile_;
    TPrunedArchives pruned_;
};
