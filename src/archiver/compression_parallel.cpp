#include <algorithm>
#include <deque>
#include <future>

#include "archiver/compression.h"
#include "archiver/crc32.h"
#include "toolkit/streams.h"

namespace {

constexpr size_t kWindow = 32768;

struct TChunkResult {
    std::vector<uint8_t> Output;
    uint32_t Crc;
    int64_t Length;
};

// input holds the dictionary (dictionaryLength bytes) followed by the chunk itself.
TChunkResult DeflateOneChunk(std::vector<uint8_t> input, size_t dictionaryLength, int level, bool last) {
    const uint8_t* chunk = input.data() + dictionaryLength;
    const int64_t n = static_cast<int64_t>(input.size() - dictionaryLength);
    TChunkDeflater deflater(level);
    if (dictionaryLength > 0) deflater.SetDictionary(input.data(), dictionaryLength);
    TChunkResult result{deflater.DeflateChunk(chunk, n, last), Crc32Of(chunk, n), n};
    return result;
}

}  // namespace

bool DeflateInParallel(TStream& source, int64_t size, uint32_t chunkSize, int level, unsigned workers,
                       const TEntryDataContext& context, uint32_t& crc, int64_t& processed,
                       const std::function<void(std::vector<uint8_t>&)>& emit) {
    // Two chunks per worker keep every thread busy while the caller reads and writes; more
    // would only hold memory.
    const size_t maxInFlight = 2 * static_cast<size_t>(workers);
    std::deque<std::future<TChunkResult>> inFlight;
    std::vector<uint8_t> tail;  // the last 32 KiB read: the next chunk's dictionary
    bool first = true;
    int64_t submitted = 0;
    auto finishOldest = [&] {
        TChunkResult r = inFlight.front().get();
        inFlight.pop_front();
        emit(r.Output);
        crc = first ? r.Crc : CombineCrc32(crc, r.Crc, r.Length);
        first = false;
        processed += r.Length;
    };
    try {
        while (submitted < size) {
            if (context.BeforePass && context.BeforePass(submitted, size)) {
                for (auto& f : inFlight) f.wait();
                return false;
            }
            const int64_t n = std::min<int64_t>(chunkSize, size - submitted);
            std::vector<uint8_t> input(tail.size() + static_cast<size_t>(n));
            std::copy(tail.begin(), tail.end(), input.begin());
            source.ReadBuffer(input.data() + tail.size(), n);
            const size_t keep = std::min(kWindow, input.size());
            tail.assign(input.end() - static_cast<std::ptrdiff_t>(keep), input.end());
            const size_t dictionaryLength = input.size() - static_cast<size_t>(n);
            submitted += n;
            inFlight.push_back(std::async(std::launch::async, DeflateOneChunk, std::move(input), dictionaryLength,
                                          level, submitted == size));
            while (inFlight.size() >= maxInFlight) finishOldest();
        }
        while (!inFlight.empty()) finishOldest();
    } catch (...) {
        for (auto& f : inFlight) f.wait();
        throw;
    }
    return true;
}
