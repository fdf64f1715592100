#pragma once
// Deflate blocks (RFC 1951, 3.2.3-3.2.7) from the literals and matches of a part of the input:
// each block is written dynamic, fixed or stored, whichever takes the fewest bits.
#include <array>
#include <cstddef>
#include <cstdint>

#include "archiver/deflate/bit_writer.h"

constexpr unsigned kLiteralLengthSymbols = 286;
constexpr unsigned kDistanceSymbols = 30;
constexpr unsigned kMinMatch = 3;
constexpr unsigned kMaxMatch = 258;
constexpr unsigned kMaxDistance = 32768;

struct TLengthCode {
    uint8_t Symbol;  // 0..28, sent as literal/length symbol 257 + Symbol
    uint8_t ExtraBits;
    uint8_t Extra;
};
// By match length - 3.
extern const std::array<TLengthCode, 256> kLengthCodes;

// 0..29 for distances 1..32768.
inline unsigned DistanceSymbol(unsigned distance) {
    const unsigned d = distance - 1;
    if (d < 4) return d;
    const unsigned log = 31 - static_cast<unsigned>(__builtin_clz(d));
    return 2 * log + ((d >> (log - 1)) & 1);
}

// The symbols of one block in the order found, with their frequencies.
class TBlockSymbols {
public:
    // A dynamic block's header costs some 70 bytes; blocks of this many symbols (typically
    // 50-150 KiB of input) make that negligible while still following changes in the data.
    static constexpr size_t kCapacity = 32768;

    TBlockSymbols() { Clear(); }
    void Clear();
    bool Full() const { return count_ == kCapacity; }
    size_t Count() const { return count_; }

    void Literal(uint8_t byte) {
        ++literalLength_[byte];
        items_[count_++] = byte;
    }
    void Match(unsigned length, unsigned distance) {
        const TLengthCode& code = kLengthCodes[length - kMinMatch];
        ++literalLength_[257 + code.Symbol];
        const unsigned symbol = DistanceSymbol(distance);
        ++distance_[symbol];
        extraBits_ += code.ExtraBits + DistanceExtraBits(symbol);
        items_[count_++] = kMatchFlag | symbol << 24 | (distance - 1) << 8 | (length - kMinMatch);
    }

    // Writes the block; raw are the input bytes the symbols stand for, which a stored block
    // copies. Raises ECompressionError when the block would not fit before capacity.
    void Write(TBitWriter& bits, const uint8_t* raw, size_t rawLength, bool final, size_t capacity);

    static unsigned DistanceExtraBits(unsigned symbol) { return symbol < 4 ? 0 : symbol / 2 - 1; }

private:
    static constexpr uint32_t kMatchFlag = 0x80000000u;

    uint64_t FixedCost() const;
    void WriteSymbols(TBitWriter& bits, const uint8_t* literalLengths, const uint16_t* literalCodes,
                      const uint8_t* distanceLengths, const uint16_t* distanceCodes) const;

    uint32_t items_[kCapacity];
    size_t count_ = 0;
    uint32_t literalLength_[kLiteralLengthSymbols];
    uint32_t distance_[kDistanceSymbols];
    uint64_t extraBits_ = 0;
};
