#pragma once
// The parallel pool: the chunks of one entry deflated on several threads. Each chunk is deflated
// on its own, primed with the 32 KiB of source before it, so that the outputs, written in order,
// form one valid raw deflate stream.
#include <cstddef>
#include <cstdint>
#include <functional>

class TStream;

// More threads would hold more chunks in memory for no gain on the machines the tool runs on.
constexpr unsigned kMaxDeflateWorkers = 4;

// Reading, beforePass, encryption and writing stay on the caller's thread; at most workers + 2
// chunks are in memory. beforePass is asked with the source bytes read so far before every
// chunk is read; true stops. emit writes one chunk's output (and may change it in place); crc
// receives the CRC-32 of the source and processed the source bytes written. False when
// beforePass stopped it.
bool DeflateInParallel(TStream& source, int64_t size, uint32_t chunkSize, int level, unsigned workers,
                       const std::function<bool(int64_t processed, int64_t total)>& beforePass, uint32_t& crc,
                       int64_t& processed, const std::function<void(uint8_t*, size_t)>& emit);
