#pragma once
// The deflate engine of the fastest mode (1). zlib's level 1 spends much of its time keeping
// hash chains and hashing three bytes at a time; this one keeps the newest position of each
// four-byte hash, takes the match found there (held back one byte when a longer one starts
// next), extends matches a word at a time, and codes each block with the cheapest of dynamic,
// fixed or stored codes. It compresses a little better than zlib's level 1 in well under its
// time, which is what the backup of a large yearly database waits for.
#include <cstddef>
#include <cstdint>
#include <memory>

class TBlockSymbols;

class TFastDeflater {
public:
    TFastDeflater();
    ~TFastDeflater();
    TFastDeflater(const TFastDeflater&) = delete;
    TFastDeflater& operator=(const TFastDeflater&) = delete;

    // Deflates the n bytes at data into out; matches may reach back into the dictionaryLength
    // bytes (at most 32 KiB are used) that precede data in memory. The output ends with a sync
    // flush (an empty stored block), or with the final block when last, so that the outputs of
    // consecutive calls form one raw deflate stream. capacity must be at least Bound(n).
    // Returns the bytes written.
    size_t Deflate(const uint8_t* data, size_t n, size_t dictionaryLength, bool last, uint8_t* out, size_t capacity);

    // Stored blocks when nothing compresses, plus headers and the flush.
    static size_t Bound(size_t n) { return n + n / 4096 * 5 + 64; }

private:
    std::unique_ptr<uint32_t[]> table_;
    std::unique_ptr<TBlockSymbols> symbols_;
};
