#pragma once
// Deflate's bit order: fields fill each byte from its least significant bit.
#include <cstddef>
#include <cstdint>
#include <cstring>

class TBitWriter {
public:
    explicit TBitWriter(uint8_t* out) : out_(out) {}

    // Up to 24 bits at once. Every call stores four bytes and moves over the ones that are
    // complete, so that no branch has to guess when a word is full (in the symbol loop that
    // guess missed often); the output therefore needs 3 bytes of room beyond Position().
    void Put(uint32_t bits, unsigned count) {
        pending_ |= bits << used_;
        used_ += count;
        const uint8_t bytes[4] = {static_cast<uint8_t>(pending_), static_cast<uint8_t>(pending_ >> 8),
                                  static_cast<uint8_t>(pending_ >> 16), static_cast<uint8_t>(pending_ >> 24)};
        std::memcpy(out_ + pos_, bytes, 4);
        pos_ += used_ >> 3;
        pending_ >>= used_ & ~7u;
        used_ &= 7;
    }

    // Pads with zero bits to the next byte boundary.
    void AlignToByte() {
        if (used_ > 0) out_[pos_++] = static_cast<uint8_t>(pending_);
        pending_ = 0;
        used_ = 0;
    }

    // Only after AlignToByte.
    void PutBytes(const uint8_t* bytes, size_t n) {
        std::memcpy(out_ + pos_, bytes, n);
        pos_ += n;
    }

    // Bytes complete so far, with the bits still pending counted as a whole byte.
    size_t Position() const { return pos_ + (used_ + 7) / 8; }

private:
    uint8_t* out_;
    size_t pos_ = 0;
    uint32_t pending_ = 0;  // fewer than 8 bits between calls
    unsigned used_ = 0;
};
