#include "archiver/compression.h"

#include <zlib.h>

#include <algorithm>
#include <optional>
#include <thread>

#include "archiver/crc32.h"
#include "archiver/records.h"
#include "archiver/zip_crypto.h"
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

TChunkDeflater::TChunkDeflater(int level) : stream_(new z_stream{}) {
    // Negative window bits: raw deflate, without the zlib wrapper's header and Adler-32 trailer,
    // which have no place in a ZIP entry.
    if (deflateInit2(stream_, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        delete stream_;
        throw ECompressionError();
    }
}

TChunkDeflater::~TChunkDeflater() {
    if (!ended_) deflateEnd(stream_);
    delete stream_;
}

std::vector<uint8_t> TChunkDeflater::DeflateChunk(const uint8_t* data, int64_t n, bool last) {
    std::vector<uint8_t> out(static_cast<size_t>(OutputBufferSize(n)));
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
    out.resize(produced);
    if (last) {
        deflateEnd(stream_);
        ended_ = true;
    }
    return out;
}

void TChunkDeflater::SetDictionary(const uint8_t* data, size_t n) {
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
        std::vector<uint8_t> input(static_cast<size_t>(std::min<int64_t>(chunkSize, size)));
        std::optional<TChunkDeflater> deflater;
        if (deflated) deflater.emplace(level);
        std::optional<TZipEncryptor> encryptor;
        auto emit = [&](std::vector<uint8_t>& bytes) {
            if (encryptor) encryptor->Encrypt(bytes.data(), static_cast<int64_t>(bytes.size()));
            archive.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
            written += bytes.size();
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
            emit(empty);
        }
        const unsigned workers =
            context.Workers != 0 ? context.Workers : std::max(1u, std::thread::hardware_concurrency());
        const bool parallel = deflater && level > 0 && workers > 1 && size > chunkSize;
        if (parallel) {
            uint32_t finishedCrc = 0;
            DeflateInParallel(source, size, chunkSize, level, workers, context, finishedCrc, processed, emit);
            if (!encrypt) crc = finishedCrc ^ 0xFFFFFFFFu;
        }
        while (!parallel && size > processed) {
            if (context.BeforePass && context.BeforePass(processed, size)) break;
            const int64_t n = std::min<int64_t>(chunkSize, size - processed);
            source.ReadBuffer(input.data(), n);
            if (!encrypt) crc = UpdateCrc32(crc, input.data(), n);
            std::vector<uint8_t> out =
                deflater ? deflater->DeflateChunk(input.data(), n, n == size - processed)
                         : std::vector<uint8_t>(input.begin(), input.begin() + n);
            emit(out);
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
