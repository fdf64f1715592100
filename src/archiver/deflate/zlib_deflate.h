#pragma once
// zlib's raw deflate (RFC 1951, without the zlib wrapper's header and Adler-32 trailer, which
// have no place in a ZIP entry), for every level but the fast engine's.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "archiver/deflate/compression_error.h"

struct z_stream_s;

class TZlibDeflate {
public:
    explicit TZlibDeflate(int level);
    ~TZlibDeflate();
    TZlibDeflate(const TZlibDeflate&) = delete;
    TZlibDeflate& operator=(const TZlibDeflate&) = delete;

    // Starts a new stream with the same level, keeping the allocated window and tables.
    void Reset();
    // The bytes that precede the next input in the source (deflate uses the last 32 KiB).
    void SetDictionary(const uint8_t* data, size_t n);
    // The next n bytes of the source; Deflate consumes them.
    void Feed(const uint8_t* data, size_t n);
    // Deflates what was fed into out, ending with a sync flush or, when last, with the final
    // block. produced grows by the bytes written. False when out filled up first: call again
    // with more room.
    bool Deflate(uint8_t* out, size_t capacity, bool last, size_t& produced);

private:
    std::unique_ptr<z_stream_s> stream_;
};
