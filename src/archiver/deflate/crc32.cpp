#include "archiver/deflate/crc32.h"

#include <zlib.h>

#include <algorithm>

#include "archiver/deflate/crc32_folding.h"

namespace {

// Below this the table is as quick as setting up the fold.
constexpr int64_t kFoldingFrom = 256;

}  // namespace

// zlib's crc32() is the same polynomial in the same finished form, and much faster than a
// byte-at-a-time table loop; folding, where the processor has it, is faster still.
uint32_t UpdateCrc32(uint32_t crc, const void* buffer, int64_t count) {
    if (buffer == nullptr || count <= 0) return crc;
    uLong value = crc;
    const auto* bytes = static_cast<const Bytef*>(buffer);
    if (count >= kFoldingFrom && CarrylessMultiplyAvailable()) {
        const int64_t folded = count & ~int64_t{15};
        value = ~FoldCrc32(~crc, bytes, static_cast<size_t>(folded));
        bytes += folded;
        count -= folded;
    }
    while (count > 0) {
        const uInt step = static_cast<uInt>(std::min<int64_t>(count, 1 << 30));
        value = crc32(value, bytes, step);
        bytes += step;
        count -= step;
    }
    return static_cast<uint32_t>(value);
}

uint32_t Crc32Of(const void* buffer, int64_t count) { return UpdateCrc32(0, buffer, count); }

uint32_t CombineCrc32(uint32_t crcFirst, uint32_t crcSecond, int64_t secondLength) {
    return static_cast<uint32_t>(crc32_combine(crcFirst, crcSecond, static_cast<z_off_t>(secondLength)));
}
