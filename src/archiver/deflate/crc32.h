#pragma once
// The ZIP format's CRC-32 (reflected polynomial EDB88320), always in its finished form: 0 before
// the first byte, and after the last the value the headers record.
#include <cstdint>

// The CRC of what crc covered followed by count more bytes. A null buffer or a count of 0 or
// less leaves it unchanged.
uint32_t UpdateCrc32(uint32_t crc, const void* buffer, int64_t count);

// The CRC of one buffer.
uint32_t Crc32Of(const void* buffer, int64_t count);

// CRC-32 of two blocks laid end to end, from the CRC of each and the second's length (below
// 2 GiB).
uint32_t CombineCrc32(uint32_t crcFirst, uint32_t crcSecond, int64_t secondLength);
