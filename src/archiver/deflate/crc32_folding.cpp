#include "archiver/deflate/crc32_folding.h"

#include <cpuid.h>
#include <immintrin.h>

// The constants are powers of x modulo the CRC-32 polynomial, bit-reflected: x^(4*128+32) and
// x^(4*128-32) fold 64 bytes ahead, x^(128+32) and x^(128-32) 16 bytes ahead, x^64 takes 64
// bits to 32, and the polynomial with its Barrett quotient x^64 / P ends the reduction.
#define VX_FOLDING __attribute__((target("pclmul,sse4.1")))

namespace {

VX_FOLDING inline __m128i Fold(__m128i x, __m128i k, __m128i next) {
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), next);
}

VX_FOLDING inline __m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

}  // namespace

bool CarrylessMultiplyAvailable() {
    static const bool available = [] {
        unsigned a = 0, b = 0, c = 0, d = 0;
        return __get_cpuid(1, &a, &b, &c, &d) && (c & bit_PCLMUL) != 0 && (c & bit_SSE4_1) != 0;
    }();
    return available;
}

// Windows promises 32-bit code a stack aligned to 4 bytes only; the 16-byte values spilled
// here need it realigned.
VX_FOLDING __attribute__((force_align_arg_pointer)) uint32_t FoldCrc32(uint32_t reg, const uint8_t* data, size_t n) {
    const __m128i ahead64 = _mm_set_epi64x(0x1c6e41596LL, 0x154442bd4LL);
    const __m128i ahead16 = _mm_set_epi64x(0x0ccaa009eLL, 0x1751997d0LL);
    const __m128i to32 = _mm_set_epi64x(0, 0x163cd6124LL);
    const __m128i low32 = _mm_set_epi32(0, 0, 0, -1);
    const __m128i barrett = _mm_set_epi64x(0x1f7011641LL, 0x1db710641LL);

    __m128i x1 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(static_cast<int>(reg)));
    __m128i x2 = Load(data + 16);
    __m128i x3 = Load(data + 32);
    __m128i x4 = Load(data + 48);
    data += 64;
    n -= 64;
    for (; n >= 64; data += 64, n -= 64) {
        x1 = Fold(x1, ahead64, Load(data));
        x2 = Fold(x2, ahead64, Load(data + 16));
        x3 = Fold(x3, ahead64, Load(data + 32));
        x4 = Fold(x4, ahead64, Load(data + 48));
    }
    x1 = Fold(x1, ahead16, x2);
    x1 = Fold(x1, ahead16, x3);
    x1 = Fold(x1, ahead16, x4);
    for (; n >= 16; data += 16, n -= 16) x1 = Fold(x1, ahead16, Load(data));

    // 128 bits to 64, to 32, then the Barrett reduction leaves the register in the second lane.
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(ahead16, x1, 0x01));
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 4), _mm_clmulepi64_si128(_mm_and_si128(x1, low32), to32, 0x00));
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), barrett, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), barrett, 0x00);
    return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(x1, t), 1));
}
