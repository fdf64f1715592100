#include "archiver/deflate/chunk_deflater.h"

#include <algorithm>
#include <cstring>

int64_t OutputBufferSize(int64_t n) {
    const int64_t bound = n + n / 10 + 12;
    return (bound + 255) / 256 * 256;
}

TChunkDeflater::TChunkDeflater(int level) {
    if (UsesFastEngine(level))
        fast_ = std::make_unique<TFastDeflater>();
    else
        zlib_ = std::make_unique<TZlibDeflate>(level);
}

std::vector<uint8_t> TChunkDeflater::DeflateChunk(const uint8_t* data, int64_t n, bool last) {
    std::vector<uint8_t> out;
    out.resize(DeflateChunkInto(data, n, last, out));
    return out;
}

size_t TChunkDeflater::FastChunkInto(const uint8_t* data, size_t n, bool last, std::vector<uint8_t>& out) {
    if (out.size() < TFastDeflater::Bound(n)) out.resize(TFastDeflater::Bound(n));
    if (staging_.size() < dictionaryLength_ + n) staging_.resize(dictionaryLength_ + n);
    if (n > 0) std::memcpy(staging_.data() + dictionaryLength_, data, n);
    const size_t produced =
        fast_->Deflate(staging_.data() + dictionaryLength_, n, dictionaryLength_, last, out.data(), out.size());
    const size_t keep = std::min(kDeflateWindow, dictionaryLength_ + n);
    // An empty first chunk leaves the staging buffer unallocated: nothing to keep, and no
    // pointer to hand to memmove.
    if (keep > 0) std::memmove(staging_.data(), staging_.data() + dictionaryLength_ + n - keep, keep);
    dictionaryLength_ = keep;
    return produced;
}

size_t TChunkDeflater::DeflateChunkInto(const uint8_t* data, int64_t n, bool last, std::vector<uint8_t>& out) {
    if (fast_) return FastChunkInto(data, static_cast<size_t>(n), last, out);
    // Only grown, never shrunk: resizing down and up again would clear the buffer every pass.
    const size_t bound = static_cast<size_t>(OutputBufferSize(n));
    if (out.size() < bound) out.resize(bound);
    zlib_->Feed(data, static_cast<size_t>(n));
    size_t produced = 0;
    // The buffer is sized beyond deflate's expansion bound, so one call always finishes the
    // chunk; growing it only keeps a future zlib with other bounds from failing.
    while (!zlib_->Deflate(out.data() + produced, out.size() - produced, last, produced))
        out.resize(out.size() + 65536);
    return produced;
}

void TChunkDeflater::SetDictionary(const uint8_t* data, size_t n) {
    if (fast_) {
        dictionaryLength_ = std::min(n, kDeflateWindow);
        staging_.assign(data + n - dictionaryLength_, data + n);
        return;
    }
    zlib_->SetDictionary(data, n);
}
