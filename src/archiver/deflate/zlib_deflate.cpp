#include "archiver/deflate/zlib_deflate.h"

#include <zlib.h>

TZlibDeflate::TZlibDeflate(int level) : stream_(std::make_unique<z_stream_s>()) {
    // Negative window bits: raw deflate.
    if (deflateInit2(stream_.get(), level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw ECompressionError();
}

TZlibDeflate::~TZlibDeflate() { deflateEnd(stream_.get()); }

void TZlibDeflate::Reset() {
    if (deflateReset(stream_.get()) != Z_OK) throw ECompressionError();
}

void TZlibDeflate::SetDictionary(const uint8_t* data, size_t n) {
    if (deflateSetDictionary(stream_.get(), data, static_cast<uInt>(n)) != Z_OK) throw ECompressionError();
}

void TZlibDeflate::Feed(const uint8_t* data, size_t n) {
    stream_->next_in = const_cast<Bytef*>(data);
    stream_->avail_in = static_cast<uInt>(n);
}

bool TZlibDeflate::Deflate(uint8_t* out, size_t capacity, bool last, size_t& produced) {
    stream_->next_out = out;
    stream_->avail_out = static_cast<uInt>(capacity);
    const int status = deflate(stream_.get(), last ? Z_FINISH : Z_SYNC_FLUSH);
    if (status < 0) throw ECompressionError();
    produced += capacity - stream_->avail_out;
    return last ? status == Z_STREAM_END : stream_->avail_in == 0 && stream_->avail_out != 0;
}
