#pragma once
// A file written in one long run and flushed at its end waits at that flush for all of its bytes
// to reach the disk (a gigabyte takes about half a second), time in which the writer could have
// gone on. TWriteBehind flushes on a thread of its own each time the writer has written another
// stretch, so that the writer's own final flush finds little left to do.
//
// A failure of a flush behind the writer is kept: a system may report a failed write-back to
// one flush only, and the final flush would then return success for data that never reached the
// disk.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class TWriteBehind {
public:
    // handle: a file handle opened for writing, kept open until this object is gone.
    explicit TWriteBehind(void* handle, uint64_t stretch = kDefaultStretch);
    // Stops, as Stop does.
    ~TWriteBehind();
    TWriteBehind(const TWriteBehind&) = delete;
    TWriteBehind& operator=(const TWriteBehind&) = delete;

    // The writer has written this many more bytes.
    void Written(uint64_t bytes);

    // Flushes a stretch that is due, then starts no flush; returns the system's error code of
    // the first flush behind the writer that failed, 0 when none has.
    unsigned long Stop();

    static constexpr uint64_t kDefaultStretch = 64ull << 20;

private:
    void Run();

    void* handle_;
    const uint64_t stretch_;
    std::mutex mutex_;
    std::condition_variable wake_;
    uint64_t written_ = 0;
    uint64_t flushed_ = 0;  // written_ as it was when the last flush started
    bool stopping_ = false;
    unsigned long failure_ = 0;
    std::thread thread_;  // last: it starts once the fields above are set
};
