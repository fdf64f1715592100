#include "support/damage.h"

#include "core/streams.h"

namespace support {

void FlipByte(TStream& stream, int64_t at) {
    uint8_t byte = 0;
    stream.SetPosition(at);
    stream.ReadBuffer(&byte, 1);
    byte ^= 0xFF;
    stream.SetPosition(at);
    stream.WriteBuffer(&byte, 1);
}

}  // namespace support
