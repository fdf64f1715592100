#pragma once
// The ZIP format's CRC-32 (reflected polynomial EDB88320).
#include <cstdint>

// Advances a CRC register over count bytes. The register is neither inverted on entry nor on
// exit: callers start from FFFFFFFF and invert the final value. A null buffer or a count of 0
// or less leaves the register unchanged.
uint32_t UpdateCrc32(uint32_t crc, const void* buffer, int64_t count);

// The finished CRC-32 of one buffer (start FFFFFFFF, final inversion).
uint32_t Crc32Of(const void* buffer, int64_t count);

// CRC-32 of two blocks laid end to end, from the finished CRC of each and the second's length
// (below 2 GiB).
uint32_t CombineCrc32(uint32_t crcFirst, uint32_t crcSecond, int64_t secondLength);
