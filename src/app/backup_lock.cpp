#include "app/backup_lock.h"

#include "app/backup_failure.h"

TBackupLock::TBackupLock(const TBackupNames& names) : staging_(names.Staging), archive_(names.Archive) {
    // Neither lock is waited for, so taking them in any order cannot deadlock.
    if (!staging_.Held()) throw EBackupFailure(TFailureCause::BackupRunning, names.Staging);
    if (!archive_.Held()) throw EBackupFailure(TFailureCause::BackupRunning, names.Archive);
}
