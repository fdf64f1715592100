#include "archiver/deflate/parallel_deflate.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "archiver/deflate/chunk_deflater.h"
#include "archiver/deflate/crc32.h"
#include "archiver/deflate/ordered_pool.h"
#include "core/streams.h"

namespace {

// One chunk in flight. The buffers are allocated once per entry and never zero-filled: the
// reader overwrites the input, deflate the output.
struct TSlot {
    std::unique_ptr<uint8_t[]> Input;   // kDeflateWindow bytes of dictionary room, then the chunk
    std::unique_ptr<uint8_t[]> Output;  // room for deflate's worst case of one chunk
    size_t DictionaryLength = 0;
    size_t Length = 0;
    bool Last = false;
    size_t Produced = 0;
    uint32_t Crc = 0;
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

}  // namespace

bool DeflateInParallel(TStream& source, int64_t size, uint32_t chunkSize, int level, unsigned workers,
                       const std::function<bool(int64_t processed, int64_t total)>& beforePass, uint32_t& crc,
                       int64_t& processed, const std::function<void(uint8_t*, size_t)>& emit) {
    const int64_t chunks = (size + chunkSize - 1) / chunkSize;
    workers = static_cast<unsigned>(std::min<int64_t>(workers, chunks));
    const size_t outputCapacity =
        std::max(static_cast<size_t>(OutputBufferSize(chunkSize)), TFastDeflater::Bound(chunkSize));
    TOrderedPool<TSlot> pool(workers + 2, workers, [level, outputCapacity]() -> TOrderedPool<TSlot>::TWork {
        auto stream = std::make_shared<TWorkerStream>(level);
        return [stream, outputCapacity](TSlot& slot) { stream->Compress(slot, outputCapacity); };
    });
    for (size_t i = 0; i < pool.Capacity(); ++i) {
        TSlot& slot = pool.SlotOf(static_cast<int64_t>(i));
        slot.Input.reset(new uint8_t[kDeflateWindow + chunkSize]);
        slot.Output.reset(new uint8_t[outputCapacity]);
    }
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
