#pragma once
// How a running restore tells its caller where it is, and how the caller asks it to stop.
#include <cstdint>

enum class TRestorePhase {
    Testing,    // the whole archive read and checked before anything is touched
    Restoring,  // the database written beside the current one, read back, put in place
};

class TRestoreObserver {
public:
    virtual ~TRestoreObserver() = default;
    // Called when a phase starts (done 0) and as its bytes move (total: the database's size).
    // Returning true asks the restore to stop; until the restored file takes the database's
    // name it stops there and raises the cancelled failure, with nothing changed.
    virtual bool Progress(TRestorePhase phase, uint64_t done, uint64_t total) = 0;
};

class TSilentRestoreObserver : public TRestoreObserver {
public:
    bool Progress(TRestorePhase, uint64_t, uint64_t) override { return false; }
};
