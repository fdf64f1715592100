#pragma once
// One backup of a name at a time. Two backups of one year (a program started twice, a scheduled
// run beside the dialog, two users of a terminal server) share the staging copy, and two of one
// day and folder share the archive and its temporary file: both would write them, and which one
// fails, or whose archive stays, would depend on timing. So a backup takes, before it writes
// anything, the machine-wide lock of its staging copy and the one of its archive, and holds them
// until it ends; a backup that finds either taken stops at once, having written nothing.
#include "app/backup_names.h"
#include "core/machine_lock.h"

class TBackupLock {
public:
    // Raises EBackupFailure (cause BackupRunning, with the name another backup holds) when
    // either lock is taken.
    explicit TBackupLock(const TBackupNames& names);

private:
    TMachineLock staging_;
    TMachineLock archive_;
};
