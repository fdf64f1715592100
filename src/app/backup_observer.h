#pragma once
// How a running backup tells its caller where it is, and how the caller asks it to stop.
#include <cstdint>

enum class TBackupPhase {
    Copying,    // the database to the staging folder
    Packing,    // the staging copy into the archive
    Verifying,  // the archive read back from the disk
    Restoring,  // a restore writing the database back (the test of its archive shows as Verifying)
};

class TBackupObserver {
public:
    virtual ~TBackupObserver() = default;

    // Called when a phase starts (done 0) and as its bytes move, up to done == total (the
    // database's size in every phase). Returning true asks the backup to stop: it stops at this
    // report (or, inside the archiver, at its next one) and raises EBackupCancelled.
    virtual bool Progress(TBackupPhase phase, uint64_t done, uint64_t total) = 0;
};

// Shows nothing and never asks to stop.
class TSilentBackupObserver : public TBackupObserver {
public:
    bool Progress(TBackupPhase, uint64_t, uint64_t) override { return false; }
};
