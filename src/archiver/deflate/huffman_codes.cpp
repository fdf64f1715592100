#include "archiver/deflate/huffman_codes.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned kMaxSymbols = 288;
constexpr unsigned kMaxBits = 15;

// Huffman's construction with two queues: leaves sorted by weight, and the inner nodes, which
// are made in order of weight. Returns the longest code length.
unsigned HuffmanLengths(const uint32_t* weights, const uint16_t* symbols, unsigned used, uint8_t* lengths) {
    // Nodes 0..used-1 are the leaves (in weight order), used.. the inner nodes.
    uint32_t weight[2 * kMaxSymbols];
    uint16_t parent[2 * kMaxSymbols];
    uint8_t depth[2 * kMaxSymbols];
    for (unsigned i = 0; i < used; ++i) weight[i] = weights[symbols[i]];
    unsigned leaf = 0, inner = used, next = used;
    auto take = [&]() {
        if (leaf < used && (inner == next || weight[leaf] <= weight[inner])) return leaf++;
        return inner++;
    };
    while (next < 2 * used - 1) {
        const unsigned a = take();
        const unsigned b = take();
        weight[next] = weight[a] + weight[b];
        parent[a] = parent[b] = static_cast<uint16_t>(next);
        ++next;
    }
    const unsigned root = next - 1;
    depth[root] = 0;
    unsigned longest = 0;
    // Parents come after their children, so one pass from the root down fills every depth.
    for (unsigned i = root; i-- > 0;) {
        depth[i] = static_cast<uint8_t>(std::min<unsigned>(depth[parent[i]] + 1, 255));
        if (i < used) {
            lengths[symbols[i]] = depth[i];
            longest = std::max<unsigned>(longest, depth[i]);
        }
    }
    return longest;
}

}  // namespace

void BuildCodeLengths(const uint32_t* frequencies, unsigned n, unsigned limit, uint8_t* lengths) {
    std::memset(lengths, 0, n);
    uint16_t symbols[kMaxSymbols];
    unsigned used = 0;
    for (unsigned s = 0; s < n; ++s)
        if (frequencies[s] != 0) symbols[used++] = static_cast<uint16_t>(s);
    if (used < 2) {
        // One code of length 1 is not a complete code; give a second symbol the other one.
        const unsigned first = used == 1 ? symbols[0] : 0;
        lengths[first] = 1;
        lengths[first == 0 ? 1 : 0] = 1;
        return;
    }
    uint32_t weights[kMaxSymbols];
    std::memcpy(weights, frequencies, n * sizeof(uint32_t));
    for (;;) {
        std::stable_sort(symbols, symbols + used, [&](uint16_t a, uint16_t b) { return weights[a] < weights[b]; });
        if (HuffmanLengths(weights, symbols, used, lengths) <= limit) return;
        // Too deep: flatten the weights and build again. Halving (rounding up) keeps every used
        // symbol used and ends, at the latest, with equal weights and a balanced tree, whose
        // depth (9 for 288 symbols) is within every limit deflate has.
        for (unsigned i = 0; i < used; ++i) weights[symbols[i]] = (weights[symbols[i]] + 1) / 2;
    }
}

void BuildCanonicalCodes(const uint8_t* lengths, unsigned n, uint16_t* codes) {
    unsigned count[kMaxBits + 1] = {};
    for (unsigned s = 0; s < n; ++s) ++count[lengths[s]];
    count[0] = 0;
    unsigned next[kMaxBits + 1] = {};
    unsigned code = 0;
    for (unsigned bits = 1; bits <= kMaxBits; ++bits) {
        code = (code + count[bits - 1]) << 1;
        next[bits] = code;
    }
    for (unsigned s = 0; s < n; ++s) {
        const unsigned len = lengths[s];
        if (len == 0) {
            codes[s] = 0;
            continue;
        }
        unsigned value = next[len]++, reversed = 0;
        for (unsigned i = 0; i < len; ++i, value >>= 1) reversed = (reversed << 1) | (value & 1);
        codes[s] = static_cast<uint16_t>(reversed);
    }
}
