#pragma once
// The matches of a raw deflate stream, read as the format lays them out (RFC 1951): for tests
// that must know which lengths and distances an encoder chose, which no inflate reports.
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace deflate_matches {

struct TMatch {
    unsigned Length;
    unsigned Distance;
};

class TReader {
public:
    explicit TReader(const std::vector<uint8_t>& raw) : raw_(raw) {}

    std::vector<TMatch> Matches() {
        std::vector<TMatch> found;
        bool last = false;
        while (!last) {
            last = Bits(1);
            const unsigned type = Bits(2);
            if (type == 0) {
                bit_ = (bit_ + 7) / 8 * 8;
                const unsigned length = Bits(16);
                Bits(16);
                bit_ += length * 8;
            } else if (type == 1) {
                std::vector<uint8_t> lengths(288 + 30);
                for (unsigned i = 0; i < 288; ++i) lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
                for (unsigned i = 0; i < 30; ++i) lengths[288 + i] = 5;
                Block(TCode(lengths.data(), 288), TCode(lengths.data() + 288, 30), found);
            } else if (type == 2) {
                const unsigned literals = Bits(5) + 257, distances = Bits(5) + 1, codeCodes = Bits(4) + 4;
                static const uint8_t order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
                uint8_t codeLengths[19] = {};
                for (unsigned i = 0; i < codeCodes; ++i) codeLengths[order[i]] = static_cast<uint8_t>(Bits(3));
                const TCode lengthCode(codeLengths, 19);
                std::vector<uint8_t> lengths;
                while (lengths.size() < literals + distances) {
                    const unsigned symbol = Decode(lengthCode);
                    if (symbol < 16) {
                        lengths.push_back(static_cast<uint8_t>(symbol));
                        continue;
                    }
                    const uint8_t value = symbol == 16 ? lengths.at(lengths.size() - 1) : 0;
                    const unsigned repeat = symbol == 16 ? 3 + Bits(2) : symbol == 17 ? 3 + Bits(3) : 11 + Bits(7);
                    lengths.insert(lengths.end(), repeat, value);
                }
                Block(TCode(lengths.data(), literals), TCode(lengths.data() + literals, distances), found);
            } else {
                throw std::runtime_error("block type 3");
            }
        }
        return found;
    }

private:
    // A canonical code as counts per length and the symbols in code order.
    struct TCode {
        TCode(const uint8_t* lengths, unsigned n) : Counts(16), Symbols() {
            for (unsigned i = 0; i < n; ++i) ++Counts[lengths[i]];
            Counts[0] = 0;
            std::vector<unsigned> offsets(16);
            for (unsigned l = 1; l < 16; ++l) offsets[l] = offsets[l - 1] + Counts[l - 1];
            Symbols.resize(n);
            for (unsigned i = 0; i < n; ++i)
                if (lengths[i]) Symbols[offsets[lengths[i]]++] = i;
        }
        std::vector<unsigned> Counts, Symbols;
    };

    unsigned Bits(unsigned n) {
        unsigned value = 0;
        for (unsigned i = 0; i < n; ++i, ++bit_) {
            if (bit_ / 8 >= raw_.size()) throw std::runtime_error("stream ends early");
            value |= ((raw_[bit_ / 8] >> (bit_ % 8)) & 1u) << i;
        }
        return value;
    }

    unsigned Decode(const TCode& code) {
        int value = 0, first = 0, index = 0;
        for (unsigned length = 1; length < 16; ++length) {
            value |= static_cast<int>(Bits(1));
            const int count = static_cast<int>(code.Counts[length]);
            if (value - first < count) return code.Symbols[static_cast<size_t>(index + value - first)];
            index += count;
            first = (first + count) << 1;
            value <<= 1;
        }
        throw std::runtime_error("no such code");
    }

    void Block(const TCode& literal, const TCode& distance, std::vector<TMatch>& found) {
        static const unsigned lengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static const unsigned lengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        static const unsigned distanceBase[30] = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                                  33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                                  1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
        for (;;) {
            const unsigned symbol = Decode(literal);
            if (symbol < 256) continue;
            if (symbol == 256) return;
            const unsigned l = symbol - 257;
            const unsigned length = lengthBase[l] + Bits(lengthExtra[l]);
            const unsigned d = Decode(distance);
            const unsigned dist = distanceBase[d] + Bits(d < 4 ? 0 : d / 2 - 1);
            found.push_back({length, dist});
        }
    }

    const std::vector<uint8_t>& raw_;
    size_t bit_ = 0;
};

inline std::vector<TMatch> MatchesOf(const std::vector<uint8_t>& raw) { return TReader(raw).Matches(); }

}  // namespace deflate_matches
