#pragma once
// The data step of the commit: an entry's source is read in chunks, each chunk deflated (raw
// deflate, RFC 1951) or copied as it is, optionally encrypted, and appended to the archive while
// the CRC-32 of the source bytes is kept.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "archiver/deflate/fast_deflate.h"
#include "archiver/zip/dir_item.h"
#include "toolkit/exceptions.h"

class TStream;
struct z_stream_s;

// A deflate engine call reported failure.
class ECompressionError : public Exception {
public:
    ECompressionError() : Exception("error") {}
};

// Bytes requested from the source in one pass, by the entry's compression mode.
uint32_t ChunkSizeForMode(uint8_t mode);
// Output buffer of one pass for n bytes read: n + n div 10 + 12, rounded up to a multiple of 256.
int64_t OutputBufferSize(int64_t n);

// Deflate's window: the most source before a chunk that the chunk's matches can refer to.
constexpr size_t kDeflateWindow = 32768;

// More threads would hold more chunks in memory for no gain on the machines the tool runs on.
constexpr unsigned kMaxDeflateWorkers = 4;

struct TEntryDataContext {
    // Off in the bare base archiver: the data loop is skipped.
    bool DataStepOn = true;
    // Asked before every pass with the source bytes consumed so far and the source size; true
    // stops the entry (the archiver's Cancel).
    std::function<bool(int64_t processed, int64_t total)> BeforePass;
    // Threads that deflate chunks of one entry at once; 0 means one per processor (at most
    // kMaxDeflateWorkers), or the number in the environment variable VORBEX_THREADS when it is
    // set. With one, or for stored data and level 0, a single deflate stream runs on the
    // caller's thread.
    unsigned Workers = 0;
};

// Writes the entry data of item from source (read from its start) at the archive's position.
// True when the whole source went in; then the item's CRC-32 and both sizes are set. False when
// the data was stopped (or the data step is off) and the item's Header is left alone. A source
// that delivers less than its size, or an archive that takes less than it is given, raises
// EReadError / EWriteError so that the commit rolls back instead of keeping a broken entry.
bool WriteEntryData(TStream& source, TStream& archive, TDirItem& item, const TEntryDataContext& context);

// One raw deflate stream fed chunk by chunk: every chunk but the last ends with a sync flush,
// the last with finish, so each chunk's output is complete and ends on a byte boundary. Mode 1
// runs our own fast engine, every other level zlib.
class TChunkDeflater {
public:
    explicit TChunkDeflater(int level);
    ~TChunkDeflater();
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

    z_stream_s* stream_ = nullptr;
    bool ended_ = false;
    std::unique_ptr<TFastDeflater> fast_;
    // For the fast engine, which wants the dictionary right before the chunk: the last 32 KiB
    // of the source so far, then the chunk.
    std::vector<uint8_t> staging_;
    size_t dictionaryLength_ = 0;
};

// The engine of mode 1; zlib's for the others.
inline bool UsesFastEngine(int level) { return level == 1; }

// Deflates the chunks of one entry on several threads: each chunk is deflated on its own,
// primed with the 32 KiB of source before it, so that the outputs, written in order, form one
// valid raw deflate stream. Reading, progress, Cancel, encryption and writing stay on the
// caller's thread; at most workers + 2 chunks are in memory. emit writes one chunk's output
// (and may change it in place); crc receives the finished CRC-32 of the source. Returns false
// when BeforePass stopped it.
bool DeflateInParallel(TStream& source, int64_t size, uint32_t chunkSize, int level, unsigned workers,
                       const TEntryDataContext& context, uint32_t& crc, int64_t& processed,
                       const std::function<void(uint8_t*, size_t)>& emit);

// The most bytes the data of an entry with sourceSize bytes can take: deflate's worst-case
// expansion (stored blocks, a flush marker per chunk) and the encryption header included.
int64_t MaxEntryDataSize(int64_t sourceSize);
