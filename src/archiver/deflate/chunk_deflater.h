#pragma once
// One raw deflate stream of an entry, fed chunk by chunk: every chunk but the last ends with a
// sync flush, the last with the final block, so each chunk's output is complete and ends on a
// byte boundary. Mode 1 runs our own fast engine, every other level zlib.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "archiver/deflate/fast_deflate.h"
#include "archiver/deflate/zlib_deflate.h"

// Deflate's window: the most source before a chunk that the chunk's matches can refer to.
constexpr size_t kDeflateWindow = 32768;

// Output buffer of one pass for n bytes read: n + n div 10 + 12, rounded up to a multiple of 256.
int64_t OutputBufferSize(int64_t n);

// The engine of mode 1; zlib's for the others.
inline bool UsesFastEngine(int level) { return level == 1; }

class TChunkDeflater {
public:
    explicit TChunkDeflater(int level);
    TChunkDeflater(const TChunkDeflater&) = delete;
    TChunkDeflater& operator=(const TChunkDeflater&) = delete;

    // Compresses n bytes; the result is every byte deflate produced for them.
    std::vector<uint8_t> DeflateChunk(const uint8_t* data, int64_t n, bool last);
    // The same into out, which keeps its capacity from pass to pass; returns the bytes produced.
    size_t DeflateChunkInto(const uint8_t* data, int64_t n, bool last, std::vector<uint8_t>& out);
    // The bytes that precede the next chunk in the source (up to the window's 32 KiB), for a
    // deflater that starts in the middle of an entry.
    void SetDictionary(const uint8_t* data, size_t n);

private:
    size_t FastChunkInto(const uint8_t* data, size_t n, bool last, std::vector<uint8_t>& out);

    std::unique_ptr<TZlibDeflate> zlib_;
    std::unique_ptr<TFastDeflater> fast_;
    // For the fast engine, which wants the dictionary right before the chunk: the last 32 KiB
    // of the source so far, then the chunk.
    std::vector<uint8_t> staging_;
    size_t dictionaryLength_ = 0;
};
