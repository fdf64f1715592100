#include "archiver/deflate/entry_data.h"

#include <algorithm>
#include <optional>
#include <thread>

#include "archiver/deflate/chunk_deflater.h"
#include "archiver/deflate/crc32.h"
#include "archiver/deflate/parallel_deflate.h"
#include "archiver/deflate/zip_crypto.h"
#include "core/streams.h"

uint32_t ChunkSizeForMode(uint8_t mode) {
    if (mode == 0) return 1048576;
    if (mode <= 3) return 524288;
    if (mode <= 6) return 1048576;
    return 1572864;
}

namespace {

// Encrypted entries carry two CRC bytes in their encryption header, which is written before the
// data: the CRC has to be known first.
uint32_t CrcOfSource(TStream& source, int64_t size, uint32_t chunkSize, std::vector<uint8_t>& buffer) {
    uint32_t crc = 0;
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

unsigned WorkersFor(unsigned asked) {
    if (asked != 0) return std::min(asked, kMaxDeflateWorkers);
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxDeflateWorkers);
}

bool WriteEntryData(TStream& source, TStream& archive, TDirItem& item, const TEntryDataContext& context) {
    const uint8_t level = item.EntryCompressionMode;
    const uint32_t chunkSize = context.ChunkSize != 0 ? context.ChunkSize : ChunkSizeForMode(level);
    source.SetPosition(0);
    // The size is taken once: it is what the local header announces, so a source that grows
    // meanwhile is stored as it was and one that shrinks fails with a read error.
    const int64_t size = source.Size();
    int64_t processed = 0;
    uint64_t written = 0;
    uint32_t crc = 0;
    const bool encrypt = !item.EntryPassword.empty();
    const bool deflated = item.Method != 0;
    // Encrypted data can only be read from the front, so their chunks are not worth noting.
    const bool noteChunks = deflated && !encrypt && size > chunkSize;
    auto chunks = std::make_shared<std::vector<TDataChunk>>();

    if (context.DataStepOn) {
        const unsigned workers = WorkersFor(context.Workers);
        const bool parallel = deflated && level > 0 && workers > 1 && size > chunkSize;
        // The parallel path reads into buffers of its own; this one then only serves the CRC
        // reading of an encrypted entry.
        std::vector<uint8_t> input(parallel && !encrypt ? 0 : static_cast<size_t>(std::min<int64_t>(chunkSize, size)));
        std::optional<TChunkDeflater> deflater;
        if (deflated && !parallel) deflater.emplace(level);
        std::optional<TZipEncryptor> encryptor;
        auto emit = [&](uint8_t* bytes, size_t n) {
            if (noteChunks) chunks->push_back({written, static_cast<uint64_t>(processed)});
            if (encryptor) encryptor->Encrypt(bytes, static_cast<int64_t>(n));
            archive.WriteBuffer(bytes, static_cast<int64_t>(n));
            written += n;
        };
        if (encrypt) {
            crc = CrcOfSource(source, size, chunkSize, input);
            encryptor.emplace(item.EntryPassword);
            const auto encryptionHeader = encryptor->MakeHeader(crc);
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
            // For an encrypted entry this takes the CRC once more, to the same value.
            DeflateInParallel(source, size, chunkSize, level, workers, context.BeforePass, crc, processed, emit);
        }
        std::vector<uint8_t> output;
        while (!parallel && size > processed) {
            if (context.BeforePass && context.BeforePass(processed, size)) break;
            const int64_t n = std::min<int64_t>(chunkSize, size - processed);
            source.ReadBuffer(input.data(), n);
            if (!encrypt) crc = UpdateCrc32(crc, input.data(), n);
            if (deflater) {
                // Deflate first: it may grow the buffer, and the order in which a call's arguments
                // are taken is the compiler's choice.
                const size_t produced = deflater->DeflateChunkInto(input.data(), n, n == size - processed, output);
                emit(output.data(), produced);
            } else {
                emit(input.data(), static_cast<size_t>(n));  // the CRC is taken, so it may be encrypted in place
            }
            processed += n;
        }
    }

    if (processed != size) return false;
    item.Crc32 = crc;
    item.CompressedSize = written;
    item.UncompressedSize = static_cast<uint64_t>(size);
    item.Chunks = noteChunks ? std::move(chunks) : nullptr;
    return true;
}

int64_t MaxEntryDataSize(int64_t sourceSize) {
    // Stored blocks add 5 bytes per 64 KiB, a sync flush 5 bytes per chunk of at least 512 KiB;
    // size/1024 covers both with room to spare.
    return sourceSize + sourceSize / 1024 + 1024;
}
