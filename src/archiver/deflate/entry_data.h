#pragma once
// Stage deflate/ owns an entry's data: chunking (here), the deflate engines (our fast one and
// zlib's), the parallel pool, encryption and the CRC-32.
//
// The data step of the commit: an entry's source is read in chunks, each chunk deflated (raw
// deflate, RFC 1951) or copied as it is, optionally encrypted, and appended to the archive while
// the CRC-32 of the source bytes is kept.
#include <cstdint>
#include <functional>

#include "archiver/zip/dir_item.h"

class TStream;

// Bytes requested from the source in one pass, by the entry's compression mode.
uint32_t ChunkSizeForMode(uint8_t mode);

struct TEntryDataContext {
    // Off in the bare base archiver: the data loop is skipped.
    bool DataStepOn = true;
    // Asked before every pass with the source bytes consumed so far and the source size; true
    // stops the entry (the archiver's Cancel).
    std::function<bool(int64_t processed, int64_t total)> BeforePass;
    // Threads that deflate chunks of one entry at once (at most kMaxDeflateWorkers); 0 means one
    // per processor. With one, or for stored data and level 0, a single deflate stream runs on
    // the caller's thread.
    unsigned Workers = 0;
    // Source bytes per pass; 0 takes the mode's (ChunkSizeForMode).
    uint32_t ChunkSize = 0;
};

// The threads a pool runs with when asked for that many (at most kMaxDeflateWorkers); 0 asks for
// the default.
unsigned WorkersFor(unsigned asked);

// Writes the entry data of item from source (read from its start) at the archive's position.
// True when the whole source went in; then the item's CRC-32, both sizes and, for deflate data
// of several chunks, where the chunks begin (Chunks) are set. False when the data was stopped
// (or the data step is off) and the item is left alone. A source that delivers less than its
// size, or an archive that takes less than it is given, raises EReadError / EWriteError so that
// the commit rolls back instead of keeping a broken entry.
bool WriteEntryData(TStream& source, TStream& archive, TDirItem& item, const TEntryDataContext& context);

// The most bytes the data of an entry with sourceSize bytes can take: deflate's worst-case
// expansion (stored blocks, a flush marker per chunk) and the encryption header included.
int64_t MaxEntryDataSize(int64_t sourceSize);
