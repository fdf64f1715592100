#include "archiver/deflate/fast_deflate.h"

#include <algorithm>
#include <cstring>

#include "archiver/deflate/compression_error.h"
#include "archiver/deflate/deflate_blocks.h"

namespace {

// One position per four-byte hash, the newest. Keeping the newest two and taking the longer
// match found there made the archive of a yearly database 2% smaller and took a quarter more
// time: the second look is the costliest step, as it mostly misses.
constexpr unsigned kHashBits = 16;
constexpr size_t kSlots = size_t{1} << kHashBits;
// Positions are kept plus this offset, so that a cleared table (all zero) holds positions
// further back than any distance deflate can reach.
constexpr uint32_t kOffset = kMaxDistance + 1;
// A match shorter than this is held back for one byte, in case the next position starts a
// longer one; longer matches are taken as they are.
constexpr unsigned kLazyBelow = 16;
// Of the positions inside a longer match only the first and the last few are recorded: the
// ones in its middle mostly push more useful candidates out of their buckets, and recording
// them took a tenth of the time for a slightly worse result.
constexpr unsigned kRecordedHead = 4;
constexpr unsigned kRecordedTail = 4;

inline uint32_t Load32(const uint8_t* p) {
    uint32_t value;
    std::memcpy(&value, p, 4);
    return value;  // the machine's order; only compared and hashed, never sent
}

// Bytes that a and b have in common from the start, at most limit.
inline unsigned CommonLength(const uint8_t* a, const uint8_t* b, unsigned limit) {
    unsigned n = 0;
    while (n + 4 <= limit) {
        const uint32_t difference = Load32(a + n) ^ Load32(b + n);
        if (difference != 0) return n + static_cast<unsigned>(__builtin_ctz(difference)) / 8;
        n += 4;
    }
    while (n < limit && a[n] == b[n]) ++n;
    return n;
}

struct TMatch {
    unsigned Length = 0;  // 0: none
    uint32_t Distance = 0;
};

class TMatchFinder {
public:
    TMatchFinder(uint32_t* table, const uint8_t* base, uint32_t end) : table_(table), base_(base), end_(end) {
        std::memset(table_, 0, kSlots * sizeof(uint32_t));
    }

    // Records position p (which has 4 bytes before the end).
    void Insert(uint32_t p) { *SlotOf(Load32(base_ + p)) = p + kOffset; }

    // The match at the position recorded for p's four bytes (at least 4 bytes, at most to the
    // end; none when that position is too far or its bytes differ), and records p.
    TMatch FindAndInsert(uint32_t p) {
        const uint32_t here = Load32(base_ + p);
        uint32_t* slot = SlotOf(here);
        const uint32_t distance = p + kOffset - *slot;
        *slot = p + kOffset;
        return MatchAt(p, here, distance);
    }

    // The same match without recording p: a second look one position on.
    TMatch Find(uint32_t p) const {
        const uint32_t here = Load32(base_ + p);
        return MatchAt(p, here, p + kOffset - *SlotOf(here));
    }

private:
    TMatch MatchAt(uint32_t p, uint32_t here, uint32_t distance) const {
        if (distance > kMaxDistance || Load32(base_ + p - distance) != here) return {};
        const unsigned limit = std::min<uint32_t>(kMaxMatch, end_ - p);
        return {4 + CommonLength(base_ + p - distance + 4, base_ + p + 4, limit - 4), distance};
    }

    uint32_t* SlotOf(uint32_t fourBytes) const { return table_ + ((fourBytes * 2654435761u) >> (32 - kHashBits)); }

    uint32_t* table_;
    const uint8_t* base_;
    uint32_t end_;
};

}  // namespace

TFastDeflater::TFastDeflater() : table_(new uint32_t[kSlots]), symbols_(std::make_unique<TBlockSymbols>()) {}

TFastDeflater::~TFastDeflater() = default;

size_t TFastDeflater::Deflate(const uint8_t* data, size_t n, size_t dictionaryLength, bool last, uint8_t* out,
                              size_t capacity) {
    if (capacity < Bound(n)) throw ECompressionError();
    dictionaryLength = std::min<size_t>(dictionaryLength, kMaxDistance);
    // Positions count from the start of the dictionary.
    const uint8_t* base = data - dictionaryLength;
    const uint32_t start = static_cast<uint32_t>(dictionaryLength);
    const uint32_t end = static_cast<uint32_t>(dictionaryLength + n);
    TMatchFinder finder(table_.get(), base, end);
    for (uint32_t p = 0; p < start && p + 4 <= end; ++p) finder.Insert(p);

    TBitWriter bits(out);
    TBlockSymbols& symbols = *symbols_;
    symbols.Clear();
    uint32_t blockStart = start;
    auto endBlockIfFull = [&](uint32_t p) {
        if (!symbols.Full()) return;
        symbols.Write(bits, base + blockStart, p - blockStart, false, capacity);
        symbols.Clear();
        blockStart = p;
    };

    uint32_t p = start;
    while (p + 4 <= end) {
        TMatch match = finder.FindAndInsert(p);
        if (match.Length == 0) {
            symbols.Literal(base[p++]);
            endBlockIfFull(p);
            continue;
        }
        if (match.Length < kLazyBelow && p + 5 <= end) {
            const TMatch next = finder.Find(p + 1);
            if (next.Length > match.Length) {
                symbols.Literal(base[p++]);
                finder.Insert(p);
                endBlockIfFull(p);
                match = next;
            }
        }
        symbols.Match(match.Length, match.Distance);
        const uint32_t matchEnd = p + match.Length;
        uint32_t q = p + 1;
        if (match.Length > kRecordedHead + kRecordedTail + 1) {
            for (; q <= p + kRecordedHead; ++q) finder.Insert(q);
            q = matchEnd - kRecordedTail;
        }
        for (; q < matchEnd && q + 4 <= end; ++q) finder.Insert(q);
        p = matchEnd;
        endBlockIfFull(p);
    }
    for (; p < end; ++p) {
        symbols.Literal(base[p]);
        endBlockIfFull(p + 1);
    }
    // A chunk that ended on a full block needs no empty block before its flush.
    if (last || symbols.Count() > 0) symbols.Write(bits, base + blockStart, end - blockStart, last, capacity);
    if (last) {
        bits.AlignToByte();
    } else {
        // Sync flush: an empty stored block brings the stream to a byte boundary.
        bits.Put(0, 3);
        bits.AlignToByte();
        const uint8_t marker[4] = {0x00, 0x00, 0xFF, 0xFF};
        bits.PutBytes(marker, 4);
    }
    return bits.Position();
}
