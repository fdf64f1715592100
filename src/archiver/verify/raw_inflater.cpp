#include "archiver/verify/raw_inflater.h"

#include <zlib.h>

#include <new>

namespace {

// What inflate leaves in data_type.
constexpr int kUnusedBits = 7;       // of the last input byte taken
constexpr int kInFinalBlock = 64;
constexpr int kAfterBlock = 128;     // it stopped between blocks

}  // namespace

TRawInflater::TRawInflater() : stream_(std::make_unique<z_stream_s>()) {
    // Negative window bits: raw deflate.
    if (inflateInit2(stream_.get(), -MAX_WBITS) != Z_OK) throw std::bad_alloc();
}

TRawInflater::~TRawInflater() { inflateEnd(stream_.get()); }

void TRawInflater::Restart(const uint8_t* dictionary, size_t n) {
    inflateReset(stream_.get());
    ended_ = false;
    if (n > 0 && inflateSetDictionary(stream_.get(), dictionary, static_cast<uInt>(n)) != Z_OK)
        throw EInflateError("the dictionary was refused");
}

void TRawInflater::Feed(const uint8_t* data, size_t n) {
    stream_->next_in = const_cast<Bytef*>(data);
    stream_->avail_in = static_cast<uInt>(n);
}

size_t TRawInflater::InputLeft() const { return stream_->avail_in; }

size_t TRawInflater::Inflate(uint8_t* out, size_t capacity) {
    if (ended_) return 0;
    stream_->next_out = out;
    stream_->avail_out = static_cast<uInt>(capacity);
    int status = Z_OK;
    while (status == Z_OK && stream_->avail_out > 0 && stream_->avail_in > 0)
        status = inflate(stream_.get(), Z_NO_FLUSH);
    if (status == Z_STREAM_END)
        ended_ = true;
    else if (status != Z_OK && status != Z_BUF_ERROR)
        throw EInflateError(stream_->msg);
    return capacity - stream_->avail_out;
}

bool TRawInflater::AtChunkEnd() const {
    const int state = stream_->data_type;
    return stream_->avail_in == 0 && (state & kAfterBlock) != 0 && (state & kInFinalBlock) == 0 &&
           (state & kUnusedBits) == 0;
}
