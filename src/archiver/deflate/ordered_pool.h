#pragma once
// A few threads working through numbered pieces of one entry: the caller fills the slot of the
// next piece and submits it, the threads take pieces in that order, and the caller takes them
// back done in the same order. The deflate pool and the verification's inflate pool both run on
// it. Slot i % Capacity() holds piece i, so a slot is not filled again before the caller has
// taken its piece back.
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

template <class TSlot>
class TOrderedPool {
public:
    // The work one thread does on a slot. makeWork runs on each thread as it starts, so the work
    // may keep state of its own (an engine, buffers) for the whole entry; when it raises, every
    // piece that thread takes fails with that exception.
    using TWork = std::function<void(TSlot&)>;

    TOrderedPool(size_t slots, unsigned threads, std::function<TWork()> makeWork) : slots_(slots) {
        try {
            for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this, makeWork] { Serve(makeWork); });
        } catch (...) {
            Stop();
            throw;
        }
    }
    ~TOrderedPool() { Stop(); }
    TOrderedPool(const TOrderedPool&) = delete;
    TOrderedPool& operator=(const TOrderedPool&) = delete;

    size_t Capacity() const { return slots_.size(); }
    TSlot& SlotOf(int64_t piece) { return slots_[Index(piece)].Slot; }

    // The caller filled the slot of the next piece.
    void Submit() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            slots_[Index(queued_)].Done = false;
            ++queued_;
        }
        wake_.notify_one();
    }

    // Waits until the piece is done; raises what its work raised.
    TSlot& WaitFor(int64_t piece) {
        TEntry& entry = slots_[Index(piece)];
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [&] { return entry.Done; });
        if (entry.Failure) std::rethrow_exception(entry.Failure);
        return entry.Slot;
    }

private:
    struct TEntry {
        TSlot Slot{};
        bool Done = false;
        std::exception_ptr Failure;
    };

    size_t Index(int64_t piece) const { return static_cast<size_t>(piece) % slots_.size(); }

    void Serve(const std::function<TWork()>& makeWork) {
        TWork work;
        std::exception_ptr startFailure;
        try {
            work = makeWork();
        } catch (...) {
            startFailure = std::current_exception();
        }
        for (;;) {
            int64_t piece;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [&] { return stopping_ || taken_ < queued_; });
                if (stopping_) return;
                piece = taken_++;
            }
            TEntry& entry = slots_[Index(piece)];
            entry.Failure = startFailure;
            if (!startFailure) {
                try {
                    work(entry.Slot);
                } catch (...) {
                    entry.Failure = std::current_exception();
                }
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                entry.Done = true;
            }
            done_.notify_all();
        }
    }

    void Stop() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : threads_) t.join();
        threads_.clear();
    }

    std::vector<TEntry> slots_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    int64_t queued_ = 0;
    int64_t taken_ = 0;
    bool stopping_ = false;
};
