#pragma once
// Generated file contents: the same bytes for the same arguments on every run.
#include <cstdint>
#include <string>

namespace support {

// Bytes that deflate cannot shrink (an xorshift sequence from seed).
std::string NoiseBytes(size_t n, uint32_t seed = 7);
// Text-like bytes that deflate compresses, but not to nothing.
std::string TextBytes(size_t n, uint32_t seed = 1);

}  // namespace support
