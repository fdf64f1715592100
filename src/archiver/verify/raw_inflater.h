#pragma once
// zlib's inflate on raw deflate data (no zlib header or trailer, as ZIP entries hold them): the
// independent decoder that reads back what our own engines wrote.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>

struct z_stream_s;

class TRawInflater {
public:
    TRawInflater();
    ~TRawInflater();
    TRawInflater(const TRawInflater&) = delete;
    TRawInflater& operator=(const TRawInflater&) = delete;

    // Starts a new stream that may refer back into the n bytes that precede it (at most 32 KiB
    // are kept).
    void Restart(const uint8_t* dictionary = nullptr, size_t n = 0);
    // The next n bytes of deflate data; Inflate consumes them.
    void Feed(const uint8_t* data, size_t n);
    size_t InputLeft() const;
    // Inflates into out until the input is used up, out is full or the final block ends; returns
    // the bytes written. Data that are not valid deflate raise EInflateError.
    size_t Inflate(uint8_t* out, size_t capacity);
    // The final block has ended.
    bool Ended() const { return ended_; }
    // The input so far ends exactly after a block that is not the final one, on a byte boundary
    // (where a sync flush leaves the stream).
    bool AtChunkEnd() const;

private:
    std::unique_ptr<z_stream_s> stream_;
    bool ended_ = false;
};

// What zlib says is wrong with the data.
class EInflateError : public std::runtime_error {
public:
    explicit EInflateError(const char* reason) : std::runtime_error(reason ? reason : "invalid deflate data") {}
};
