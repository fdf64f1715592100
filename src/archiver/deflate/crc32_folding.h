#pragma once
// CRC-32 by carry-less multiplication (PCLMULQDQ): the data are folded 64 bytes at a time into
// 128-bit remainders, which are reduced to the 32-bit register at the end. Several times faster
// than a table; each entry's data are checked once as they are written and once as they are read
// back, so this is a good part of what the CRC costs a backup.
#include <cstddef>
#include <cstdint>

// Whether this processor has the instructions (PCLMULQDQ and SSE4.1).
bool CarrylessMultiplyAvailable();

// The register (not the finished CRC: no inversion here) after n more bytes; n is a multiple of
// 16 and at least 64.
uint32_t FoldCrc32(uint32_t reg, const uint8_t* data, size_t n);
