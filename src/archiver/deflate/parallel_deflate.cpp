#include "archiver/deflate/parallel_deflate.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "archiver/deflate/chunk_deflater.h"
#include "archiver/deflate/crc32.h"
#include "core/streams.h"

namespace {

// One chunk in flight. The buffers are allocated once per entry and never zero-filled: the
// reader overwrites the input, deflate the output.
struct TSlot {
    std::unique_ptr<uint8_t[]> Input;   // kDeflateWindow bytes of dictionary room, then the chunk
    std::unique_ptr<uint8_t[]> Output;  // OutputBufferSize(chunk size) bytes
    size_t DictionaryLength = 0;
    size_t Length = 0;
    bool Last = false;
    size_t Produced = 0;
    uint32_t Crc = 0;
    bool Done = false;
    std::exception_ptr Failure;
};

// The deflate engine a worker keeps for the whole entry. zlib's stream is reset per chunk, which
// spares the allocation and clearing of its window and hash tables.
class TWorkerStream {
public:
    explicit TWorkerStream(int level) {
        if (UsesFastEngine(level))
            fast_ = std::make_unique<TFastDeflater>();
        else
            zlib_ = std::make_unique<TZlibDeflate>(level);
    }

    void Compress(TSlot& slot, size_t outputCapacity) {
        const uint8_t* chunk = slot.Input.get() + kDeflateWindow;
        slot.Produced = fast_ ? fast_->Deflate(chunk, slot.Length, slot.DictionaryLength, slot.Last,
                                               slot.Output.get(), outputCapacity)
                              : CompressWithZlib(slot, chunk, outputCapacity);
        slot.Crc = Crc32Of(chunk, static_cast<int64_t>(slot.Length));
    }

private:
    size_t CompressWithZlib(const TSlot& slot, const uint8_t* chunk, size_t outputCapacity) {
        zlib_->Reset();
        if (slot.DictionaryLength > 0) zlib_->SetDictionary(chunk - slot.DictionaryLength, slot.DictionaryLength);
        zlib_->Feed(chunk, slot.Length);
        size_t produced = 0;
        // The buffer exceeds deflate's expansion bound, so one call always completes the chunk.
        if (!zlib_->Deflate(slot.Output.get(), outputCapacity, slot.Last, produced)) throw ECompressionError();
        return produced;
    }

    std::unique_ptr<TZlibDeflate> zlib_;
    std::unique_ptr<TFastDeflater> fast_;
};

// Chunks are numbered as they are read; workers take them in that order, the caller's thread
// writes them in that order. Slot i % slots holds chunk i.
class TDeflatePool {
public:
    TDeflatePool(uint32_t chunkSize, int level, unsigned workers)
        : outputCapacity_(std::max(static_cast<size_t>(OutputBufferSize(chunkSize)), TFastDeflater::Bound(chunkSize))),
          slots_(workers + 2) {
        for (TSlot& slot : slots_) {
            slot.Input.reset(new uint8_t[kDeflateWindow + chunkSize]);
            slot.Output.reset(new uint8_t[outputCapacity_]);
        }
        try {
            for (unsigned i = 0; i < workers; ++i) threads_.emplace_back([this, level] { Work(level); });
        } catch (...) {
            Stop();
            throw;
        }
    }
    ~TDeflatePool() { Stop(); }
    TDeflatePool(const TDeflatePool&) = delete;
    TDeflatePool& operator=(const TDeflatePool&) = delete;

    size_t Capacity() const { return slots_.size(); }
    TSlot& SlotOf(int64_t chunk) { return slots_[static_cast<size_t>(chunk) % slots_.size()]; }

    // The caller filled the slot of chunk `queued_`.
    void Submit() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            SlotOf(queued_).Done = false;
            ++queued_;
        }
        wake_.notify_one();
    }

    TSlot& WaitFor(int64_t chunk) {
        TSlot& slot = SlotOf(chunk);
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [&] { return slot.Done; });
        if (slot.Failure) std::rethrow_exception(slot.Failure);
        return slot;
    }

private:
    void Work(int level) {
        std::unique_ptr<TWorkerStream> stream;
        std::exception_ptr startFailure;
        try {
            stream = std::make_unique<TWorkerStream>(level);
        } catch (...) {
            startFailure = std::current_exception();
        }
        for (;;) {
            int64_t chunk;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [&] { return stopping_ || taken_ < queued_; });
                if (stopping_) return;
                chunk = taken_++;
            }
            TSlot& slot = SlotOf(chunk);
            slot.Failure = startFailure;
            if (!startFailure) {
                try {
                    stream->Compress(slot, outputCapacity_);
                } catch (...) {
                    slot.Failure = std::current_exception();
                }
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                slot.Done = true;
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

    const size_t outputCapacity_;
    std::vector<TSlot> slots_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    int64_t queued_ = 0;
    int64_t taken_ = 0;
    bool stopping_ = false;
};

}  // namespace

bool DeflateInParallel(TStream& source, int64_t size, uint32_t chunkSize, int level, unsigned workers,
                       const std::function<bool(int64_t processed, int64_t total)>& beforePass, uint32_t& crc,
                       int64_t& processed, const std::function<void(uint8_t*, size_t)>& emit) {
    const int64_t chunks = (size + chunkSize - 1) / chunkSize;
    workers = static_cast<unsigned>(std::min<int64_t>(workers, chunks));
    TDeflatePool pool(chunkSize, level, workers);
    int64_t read = 0;     // chunks read and handed to the workers
    int64_t written = 0;  // chunks written to the archive
    int64_t submitted = 0;
    while (written < chunks) {
        // Read ahead while a slot is free, so that the workers never wait for the caller.
        while (read < chunks && read - written < static_cast<int64_t>(pool.Capacity())) {
            if (beforePass && beforePass(submitted, size)) return false;
            TSlot& slot = pool.SlotOf(read);
            const size_t n = static_cast<size_t>(std::min<int64_t>(chunkSize, size - submitted));
            source.ReadBuffer(slot.Input.get() + kDeflateWindow, static_cast<int64_t>(n));
            // The previous chunk's slot is not reused before this one is written, so its bytes
            // are still there to serve as this chunk's dictionary.
            slot.DictionaryLength = 0;
            if (read > 0) {
                const TSlot& previous = pool.SlotOf(read - 1);
                slot.DictionaryLength = std::min(kDeflateWindow, previous.DictionaryLength + previous.Length);
                std::memcpy(slot.Input.get() + kDeflateWindow - slot.DictionaryLength,
                            previous.Input.get() + kDeflateWindow + previous.Length - slot.DictionaryLength,
                            slot.DictionaryLength);
            }
            slot.Length = n;
            submitted += static_cast<int64_t>(n);
            slot.Last = submitted == size;
            pool.Submit();
            ++read;
        }
        TSlot& slot = pool.WaitFor(written);
        emit(slot.Output.get(), slot.Produced);
        crc = written == 0 ? slot.Crc : CombineCrc32(crc, slot.Crc, static_cast<int64_t>(slot.Length));
        processed += static_cast<int64_t>(slot.Length);
        ++written;
    }
    return true;
}
