#include "archiver/deflate/deflate_blocks.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "archiver/deflate/compression_error.h"
#include "archiver/deflate/huffman_codes.h"

namespace {

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,
                                        33,   49,   65,   97,   129,  193,   257,   385,   513,   769,
                                        1025, 1537, 2049, 3073, 4097, 6145,  8193,  12289, 16385, 24577};
// The order in which a dynamic block's header gives the code lengths of the code-length code.
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

constexpr std::array<TLengthCode, 256> MakeLengthCodes() {
    std::array<TLengthCode, 256> codes{};
    for (unsigned symbol = 0; symbol < 29; ++symbol) {
        // 258 has a symbol of its own, although 284 with all extra bits set would also reach it.
        const unsigned last = symbol == 27 ? 257 : symbol == 28 ? 258 : kLengthBase[symbol + 1] - 1;
        for (unsigned length = kLengthBase[symbol]; length <= last; ++length)
            codes[length - 3] = {static_cast<uint8_t>(symbol), kLengthExtra[symbol],
                                 static_cast<uint8_t>(length - kLengthBase[symbol])};
    }
    return codes;
}

struct TFixedCodes {
    uint8_t LiteralLengths[288];
    uint16_t LiteralCodes[288];
    uint8_t DistanceLengths[32];
    uint16_t DistanceCodes[32];
    TFixedCodes() {
        for (unsigned s = 0; s < 288; ++s) LiteralLengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
        std::fill(std::begin(DistanceLengths), std::end(DistanceLengths), 5);
        BuildCanonicalCodes(LiteralLengths, 288, LiteralCodes);
        BuildCanonicalCodes(DistanceLengths, 32, DistanceCodes);
    }
};

const TFixedCodes& FixedCodes() {
    static const TFixedCodes codes;
    return codes;
}

// The code lengths of both codes as a dynamic block's header sends them: runs of zeros and
// repeats of the previous length shortened with symbols 16, 17 and 18.
struct TCodeLengthRuns {
    uint8_t Symbol[kLiteralLengthSymbols + kDistanceSymbols];
    uint8_t Extra[kLiteralLengthSymbols + kDistanceSymbols];
    unsigned Count = 0;
    uint32_t Frequencies[19] = {};

    void Add(unsigned symbol, unsigned extra = 0) {
        Symbol[Count] = static_cast<uint8_t>(symbol);
        Extra[Count++] = static_cast<uint8_t>(extra);
        ++Frequencies[symbol];
    }

    explicit TCodeLengthRuns(const uint8_t* lengths, unsigned total) {
        for (unsigned i = 0; i < total;) {
            const uint8_t value = lengths[i];
            unsigned run = 1;
            while (i + run < total && lengths[i + run] == value) ++run;
            i += run;
            if (value == 0) {
                for (; run >= 11; run -= std::min(run, 138u)) Add(18, std::min(run, 138u) - 11);
                if (run >= 3) {
                    Add(17, run - 3);
                    run = 0;
                }
            } else {
                Add(value);
                --run;
                for (; run >= 3; run -= std::min(run, 6u)) Add(16, std::min(run, 6u) - 3);
            }
            for (; run > 0; --run) Add(value);
        }
    }
};

constexpr unsigned kRunExtraBits[19] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};

template <typename T>
uint64_t WeightedSum(const uint32_t* frequencies, const T* lengths, unsigned n) {
    uint64_t sum = 0;
    for (unsigned s = 0; s < n; ++s) sum += static_cast<uint64_t>(frequencies[s]) * lengths[s];
    return sum;
}

}  // namespace

constinit const std::array<TLengthCode, 256> kLengthCodes = MakeLengthCodes();

void TBlockSymbols::Clear() {
    count_ = 0;
    std::memset(literalLength_, 0, sizeof literalLength_);
    std::memset(distance_, 0, sizeof distance_);
    extraBits_ = 0;
}

uint64_t TBlockSymbols::FixedCost() const {
    const TFixedCodes& fixed = FixedCodes();
    return 3 + WeightedSum(literalLength_, fixed.LiteralLengths, kLiteralLengthSymbols) + fixed.LiteralLengths[256] +
           WeightedSum(distance_, fixed.DistanceLengths, kDistanceSymbols) + extraBits_;
}

void TBlockSymbols::WriteSymbols(TBitWriter& bits, const uint8_t* literalLengths, const uint16_t* literalCodes,
                                 const uint8_t* distanceLengths, const uint16_t* distanceCodes) const {
    for (size_t i = 0; i < count_; ++i) {
        const uint32_t item = items_[i];
        if (!(item & kMatchFlag)) {
            bits.Put(literalCodes[item], literalLengths[item]);
            continue;
        }
        const TLengthCode& length = kLengthCodes[item & 0xFF];
        const unsigned lengthSymbol = 257 + length.Symbol;
        bits.Put(literalCodes[lengthSymbol] | static_cast<uint32_t>(length.Extra) << literalLengths[lengthSymbol],
                 literalLengths[lengthSymbol] + length.ExtraBits);
        const unsigned symbol = (item >> 24) & 0x1F;
        const uint32_t extra = ((item >> 8) & 0xFFFF) - (kDistanceBase[symbol] - 1u);
        // A distance's code and extra bits may together exceed what one Put takes.
        bits.Put(distanceCodes[symbol], distanceLengths[symbol]);
        bits.Put(extra, DistanceExtraBits(symbol));
    }
    bits.Put(literalCodes[256], literalLengths[256]);
}

void TBlockSymbols::Write(TBitWriter& bits, const uint8_t* raw, size_t rawLength, bool final, size_t capacity) {
    uint32_t literalFrequencies[kLiteralLengthSymbols];
    std::memcpy(literalFrequencies, literalLength_, sizeof literalFrequencies);
    literalFrequencies[256] = 1;  // the end of the block
    uint8_t lengths[kLiteralLengthSymbols + kDistanceSymbols];
    uint8_t* literalLengths = lengths;
    BuildCodeLengths(literalFrequencies, kLiteralLengthSymbols, 15, literalLengths);
    uint8_t distanceLengths[kDistanceSymbols];
    BuildCodeLengths(distance_, kDistanceSymbols, 15, distanceLengths);

    unsigned literalCount = kLiteralLengthSymbols, distanceCount = kDistanceSymbols;
    while (literalCount > 257 && literalLengths[literalCount - 1] == 0) --literalCount;
    while (distanceCount > 1 && distanceLengths[distanceCount - 1] == 0) --distanceCount;
    // One sequence: repeats may run on from the last literal/length into the distances.
    std::memcpy(lengths + literalCount, distanceLengths, distanceCount);
    const TCodeLengthRuns runs(lengths, literalCount + distanceCount);
    uint8_t runLengths[19];
    BuildCodeLengths(runs.Frequencies, 19, 7, runLengths);
    unsigned runCodeCount = 19;
    while (runCodeCount > 4 && runLengths[kCodeLengthOrder[runCodeCount - 1]] == 0) --runCodeCount;

    const uint64_t dynamicCost = 3 + 5 + 5 + 4 + 3 * runCodeCount + WeightedSum(runs.Frequencies, runLengths, 19) +
                                 WeightedSum(runs.Frequencies, kRunExtraBits, 19) +
                                 WeightedSum(literalFrequencies, literalLengths, literalCount) +
                                 WeightedSum(distance_, distanceLengths, distanceCount) + extraBits_;
    const uint64_t fixedCost = FixedCost();
    const uint64_t storedPieces = std::max<uint64_t>(1, (rawLength + 65534) / 65535);
    const uint64_t storedCost = storedPieces * (3 + 7 + 32) + 8 * static_cast<uint64_t>(rawLength);
    const uint64_t cost = std::min({dynamicCost, fixedCost, storedCost});
    // Room for the block, and for the sync flush or final padding after it.
    if (bits.Position() + cost / 8 + 16 > capacity) throw ECompressionError();

    if (cost == storedCost) {
        size_t done = 0;
        do {
            const size_t n = std::min<size_t>(rawLength - done, 65535);
            bits.Put(final && done + n == rawLength ? 1 : 0, 1);
            bits.Put(0, 2);
            bits.AlignToByte();
            const uint8_t header[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                                       static_cast<uint8_t>(~n), static_cast<uint8_t>(~n >> 8)};
            bits.PutBytes(header, 4);
            bits.PutBytes(raw + done, n);
            done += n;
        } while (done < rawLength);
    } else if (cost == fixedCost) {
        const TFixedCodes& fixed = FixedCodes();
        bits.Put(final ? 1 : 0, 1);
        bits.Put(1, 2);
        WriteSymbols(bits, fixed.LiteralLengths, fixed.LiteralCodes, fixed.DistanceLengths, fixed.DistanceCodes);
    } else {
        uint16_t literalCodes[kLiteralLengthSymbols], distanceCodes[kDistanceSymbols], runCodes[19];
        BuildCanonicalCodes(literalLengths, literalCount, literalCodes);  // the distances follow in lengths
        BuildCanonicalCodes(distanceLengths, kDistanceSymbols, distanceCodes);
        BuildCanonicalCodes(runLengths, 19, runCodes);
        bits.Put(final ? 1 : 0, 1);
        bits.Put(2, 2);
        bits.Put(literalCount - 257, 5);
        bits.Put(distanceCount - 1, 5);
        bits.Put(runCodeCount - 4, 4);
        for (unsigned i = 0; i < runCodeCount; ++i) bits.Put(runLengths[kCodeLengthOrder[i]], 3);
        for (unsigned i = 0; i < runs.Count; ++i) {
            const unsigned symbol = runs.Symbol[i];
            bits.Put(runCodes[symbol] | static_cast<uint32_t>(runs.Extra[i]) << runLengths[symbol],
                     runLengths[symbol] + kRunExtraBits[symbol]);
        }
        WriteSymbols(bits, literalLengths, literalCodes, distanceLengths, distanceCodes);
    }
}
