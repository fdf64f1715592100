#include "core/write_behind.h"

#include <windows.h>

TWriteBehind::TWriteBehind(void* handle, uint64_t stretch)
    : handle_(handle), stretch_(stretch), thread_([this] { Run(); }) {}

TWriteBehind::~TWriteBehind() { Stop(); }

unsigned long TWriteBehind::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
    return failure_;
}

void TWriteBehind::Written(uint64_t bytes) {
    bool due;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        written_ += bytes;
        due = written_ - flushed_ >= stretch_;
    }
    if (due) wake_.notify_one();
}

void TWriteBehind::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || written_ - flushed_ >= stretch_; });
        // A stretch written before Stop is still flushed, so that its failure is not missed.
        if (written_ - flushed_ < stretch_) return;
        flushed_ = written_;
        lock.unlock();
        // FlushFileBuffers may run beside the writer's WriteFile on the same handle.
        const bool flushed = FlushFileBuffers(handle_) != 0;
        const DWORD error = flushed ? 0 : GetLastError();
        lock.lock();
        if (!flushed && failure_ == 0) failure_ = error;
    }
}
