#pragma once
// Deflate's bit order: fields fill each byte from its least significant bit.
#include <cstdint>
#include <cstring>

class TBitWriter {
public:
    explicit TBitWriter(uint8_t* out) : out_(out) {}

    // Up to 32 bits at once; complete 32-bit words go out as they fill.
    void Put(uint32_t bits, unsigned count) {
        pending_ |= static_cast<uint64_t>(bits) << used_;
        used_ += count;
        if (used_ >= 32) {
            const uint32_t word = static_cast<uint32_t>(pending_);
            StoreLittleEndian(word);
            pending_ >>= 32;
            used_ -= 32;
        }
    }

    // Pads with zero bits to the next byte boundary and writes out what is pending.
    void AlignToByte() {
        while (used_ > 0) {
            out_[pos_++] = static_cast<uint8_t>(pending_);
            pending_ >>= 8;
            used_ = used_ > 8 ? used_ - 8 : 0;
        }
        pending_ = 0;
    }

    // Only after AlignToByte.
    void PutBytes(const uint8_t* bytes, size_t n) {
        std::memcpy(out_ + pos_, bytes, n);
        pos_ += n;
    }

    // Bytes complete so far, with the bits still pending counted as whole bytes.
    size_t Position() const { return pos_ + (used_ + 7) / 8; }

private:
    void StoreLittleEndian(uint32_t word) {
        const uint8_t bytes[4] = {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                                  static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)};
        std::memcpy(out_ + pos_, bytes, 4);
        pos_ += 4;
    }

    uint8_t* out_;
    size_t pos_ = 0;
    uint64_t pending_ = 0;
    unsigned used_ = 0;
};
