#pragma once
// A lock that one process of the whole machine holds at a time (every session and every user of
// it, a terminal server's included), named after a path. The system lets go of it when the
// process that holds it ends, however it ends, so a killed holder never leaves it taken.
#include <string>

class TMachineLock {
public:
    // Takes the lock of path, without waiting; Held() tells whether it was free. Letter case and
    // the kind of slash do not matter: "c:\A\b.zip" and "C:/a/B.ZIP" are one lock. The thread
    // that holds a lock is granted it again (the system's locks count such takings): the lock
    // keeps processes apart, and threads of one process only when they are different threads.
    explicit TMachineLock(const std::string& path);
    ~TMachineLock();
    TMachineLock(const TMachineLock&) = delete;
    TMachineLock& operator=(const TMachineLock&) = delete;

    bool Held() const { return held_; }

private:
    void* handle_ = nullptr;
    bool held_ = false;
};
