#pragma once
// Damage done on purpose, as a disk or a careless program might: for the tests that must see it
// caught.
#include <cstdint>

class TStream;

namespace support {

// Inverts every bit of the byte at position at; the stream's position is left after it.
void FlipByte(TStream& stream, int64_t at);

}  // namespace support
