#include "archiver/deflate/compression.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>

#include "archiver/deflate/crc32.h"
#include "archiver/deflate/zip_crypto.h"
#include "archiver/zip/records.h"
#include "toolkit/streams.h"

uint32_t ChunkSizeForMode(uint8_t mode) {
    if (mode == 0) return 1048576;
    if (mode <= 3) return 524288;
    if (mode <= 6) return 1048576;
    return 1572864;
}

int64_t OutputBufferSize(int64_t n) {
    const int64_t bound = n + n / 10 + 12;
    return (bound + 255) / 256 * 256;
}

TChunkDeflater::TChunkDeflater(int level) {
    if (UsesFastEngine(level)) {
        fast_ = std::make_unique<TFastDeflater>();
        return;
    }
    stream_ = new z_stream{};
    // Negative window bits: raw deflate, without the zlib wrapper's header and Adler-32 trailer,
    // which have no place in a ZIP entry.
    if (deflateInit2(stream_, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        delete stream_;
        throw ECompressionError();
    }
}

TChunkDeflater::~TChunkDeflater() {
    if (stream_ == nullptr) return;
    if (!ended_) deflateEnd(stream_);
    delete stream_;
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
    std::memmove(staging_.data(), staging_.data() + dictionaryLength_ + n - keep, keep);
    dictionaryLength_ = keep;
    return produced;
}

size_t TChunkDeflater::DeflateChunkInto(const uint8_t* data, int64_t n, bool last, std::vector<uint8_t>& out) {
    if (fast_) return FastChunkInto(data, static_cast<size_t>(n), last, out);
    // Only grown, never shrunk: resizing down and up again would clear the buffer every pass.
    const size_t bound = static_cast<size_t>(OutputBufferSize(n));
    if (out.size() < bound) out.resize(bound);
    stream_->next_in = const_cast<Bytef*>(data);
    stream_->avail_in = static_cast<uInt>(n);
    const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
    size_t produced = 0;
    for (;;) {
        stream_->next_out = out.data() + produced;
        stream_->avail_out = static_cast<uInt>(out.size() - produced);
        const int status = deflate(stream_, flush);
        if (status < 0) throw ECompressionError();
        produced = out.size() - stream_->avail_out;
        const bool done = last ? status == Z_STREAM_END : stream_->avail_in == 0 && stream_->avail_out != 0;
        if (done) break;
        // The buffer is sized beyond deflate's expansion bound, so one call always finishes the
        // chunk; growing it only keeps a future zlib with other bounds from failing.
        out.resize(out.size() + 65536);
    }
    if (last) {
        deflateEnd(stream_);
        ended_ = true;
    }
    return produced;
}

void TChunkDeflater::SetDictionary(const uint8_t* data, size_t n) {
    if (fast_) {
        dictionaryLength_ = std::min(n, kDeflateWindow);
        staging_.assign(data + n - dictionaryLength_, data + n);
        return;
    }
    if (deflateSetDictionary(stream_, data, static_cast<uInt>(n)) != Z_OK) throw ECompressionError();
}

namespace {

// Encrypted entries carry two CRC bytes in their encryption header, which is written before the
// data: the CRC has to be known first.
uint32_t CrcRegisterOfSource(TStream& source, int64_t size, uint32_t chunkSize, std::vector<uint8_t>& buffer) {
    uint32_t crc = 0xFFFFFFFFu;
    for (int64_t done = 0; done < size;) {
        const int64_t n = std::min<int64_t>(chunkSize, size - done);
        source.ReadBuffer(buffer.data(), n);
        crc = UpdateCrc32(crc, buffer.data(), n);
        done += n;
    }
    source.SetPosition(0);
    return crc;
}

unsigned DefaultWorkers() {
    // A way to compare against one thread, or to keep the tool off a busy machine's other cores.
    if (const char* forced = std::getenv("VORBEX_THREADS")) {
        const int n = std::atoi(forced);
        if (n > 0) return std::min<unsigned>(static_cast<unsigned>(n), kMaxDeflateWorkers);
    }
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxDeflateWorkers);
}

}  // namespace

bool WriteEntryData(TStream& source, TStream& archive, TDirItem& item, const TEntryDataContext& context) {
    TCentralHeader header = CentralOf(item);
    const uint8_t level = item.EntryCompressionMode;
    const uint32_t chunkSize = ChunkSizeForMode(level);
    source.SetPosition(0);
    // The size is taken once: it is what the local header announces, so a source that grows
    // meanwhile is stored as it was and one that shrinks fails with a read error.
    const int64_t size = source.Size();
    int64_t processed = 0;
    uint64_t written = 0;
    uint32_t crc = 0xFFFFFFFFu;
    const bool encrypt = !item.EntryPassword.empty();
    const bool deflated = header.Method != 0;

    if (context.DataStepOn) {
        const unsigned workers = context.Workers != 0 ? context.Workers : DefaultWorkers();
        const bool parallel = deflated && level > 0 && workers > 1 && size > chunkSize;
        // The parallel path reads into buffers of its own; this one then only serves the CRC
        // reading of an encrypted entry.
        std::vector<uint8_t> input(parallel && !encrypt ? 0 : static_cast<size_t>(std::min<int64_t>(chunkSize, size)));
        std::optional<TChunkDeflater> deflater;
        if (deflated && !parallel) deflater.emplace(level);
        std::optional<TZipEncryptor> encryptor;
        auto emit = [&](uint8_t* bytes, size_t n) {
            if (encryptor) encryptor->Encrypt(bytes, static_cast<int64_t>(n));
            archive.WriteBuffer(bytes, static_cast<int64_t>(n));
            written += n;
        };
        if (encrypt) {
            crc = CrcRegisterOfSource(source, size, chunkSize, input);
            encryptor.emplace(item.EntryPassword);
            const auto encryptionHeader = encryptor->MakeHeader(crc ^ 0xFFFFFFFFu);
            archive.WriteBuffer(encryptionHeader.data(), TZipEncryptor::HeaderSize);
            written += TZipEncryptor::HeaderSize;
        }
        // A deflated entry without any data bytes is rejected by common readers; the two bytes
        // of an empty final block make it a valid deflate stream.
        if (size == 0 && deflater) {
            std::vector<uint8_t> empty = deflater->DeflateChunk(nullptr, 0, true);
            emit(empty.data(), empty.size());
        }
        if (parallel) {
            uint32_t finishedCrc = 0;
            DeflateInParallel(source, size, chunkSize, level, workers, context, finishedCrc, processed, emit);
            if (!encrypt) crc = finishedCrc ^ 0xFFFFFFFFu;
        }
        std::vector<uint8_t> output;
        while (!parallel && size > processed) {
            if (context.BeforePass && context.BeforePass(processed, size)) break;
            const int64_t n = std::min<int64_t>(chunkSize, size - processed);
            source.ReadBuffer(input.data(), n);
            if (!encrypt) crc = UpdateCrc32(crc, input.data(), n);
            if (deflater)
                emit(output.data(), deflater->DeflateChunkInto(input.data(), n, n == size - processed, output));
            else
                emit(input.data(), static_cast<size_t>(n));  // the CRC is taken, so it may be encrypted in place
            processed += n;
        }
    }

    if (processed != size) return false;
    header.Crc32 = crc ^ 0xFFFFFFFFu;
    SetCentral(item, header);
    SetItemCompressedSize(item, written);
    SetItemUncompressedSize(item, static_cast<uint64_t>(size));
    return true;
}

int64_t MaxEntryDataSize(int64_t sourceSize) {
    // Stored blocks add 5 bytes per 64 KiB, a sync flush 5 bytes per chunk of at least 512 KiB;
    // size/1024 covers both with room to spare.
    return sourceSize + sourceSize / 1024 + 1024;
}
