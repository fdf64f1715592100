// The data step of one entry, fed as the commit feeds it (the source read in chunks, each
// deflated with the previous 32 KiB as dictionary and a sync flush between chunks, on one
// thread or several), then read back through zlib's inflate: the bytes, the CRC-32 and the
// sizes the item records must match the input. The input chooses the level, the chunk size,
// the worker count and a password; its rest is the entry's data, or a small program that
// expands into long data with repeats at chosen distances (the window's edge at 32 KiB).
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "archiver/deflate/entry_data.h"
#include "archiver/zip/dir_item.h"
#include "core/streams.h"

namespace {

constexpr size_t kMaxExpanded = 4 << 20;
constexpr size_t kMaxChunks = 256;
// Distances a program may pick by number: the short ones and those around the window's end.
constexpr uint32_t kDistances[] = {1, 2, 3, 4, 258, 1024, 32760, 32766, 32767, 32768, 32769, 32776, 65536};

std::vector<uint8_t> Expand(const uint8_t* p, size_t n) {
    std::vector<uint8_t> out;
    size_t i = 0;
    while (i < n && out.size() < kMaxExpanded) {
        const uint8_t op = p[i++];
        if ((op & 0x80) == 0) {
            const size_t run = std::min<size_t>((op & 0x7F) + 1, n - i);
            out.insert(out.end(), p + i, p + i + run);
            i += run;
            continue;
        }
        if (i + 2 > n) break;
        const uint32_t distance = (op & 0x40) ? kDistances[p[i] % (sizeof kDistances / sizeof kDistances[0])]
                                              : 1u + (p[i] | (op & 0x3F) << 8);
        const size_t length = 1 + p[i + 1] * size_t{37};
        i += 2;
        if (distance > out.size()) {
            out.insert(out.end(), length, static_cast<uint8_t>(op));
            continue;
        }
        for (size_t k = 0; k < length && out.size() < kMaxExpanded; ++k) out.push_back(out[out.size() - distance]);
    }
    return out;
}

// The traditional ZIP decryption, written from the format's description for this check.
struct TZipDecryptor {
    uint32_t k0 = 0x12345678u, k1 = 0x23456789u, k2 = 0x34567890u;
    const z_crc_t* table = get_crc_table();
    explicit TZipDecryptor(const std::string& password) {
        for (char c : password) Update(static_cast<uint8_t>(c));
    }
    void Update(uint8_t plain) {
        k0 = table[(k0 ^ plain) & 0xFF] ^ (k0 >> 8);
        k1 = (k1 + (k0 & 0xFF)) * 134775813u + 1;
        k2 = table[(k2 ^ (k1 >> 24)) & 0xFF] ^ (k2 >> 8);
    }
    uint8_t Decrypt(uint8_t c) {
        const uint32_t t = (k2 | 2) & 0xFFFF;
        const uint8_t plain = c ^ static_cast<uint8_t>((t * (t ^ 1)) >> 8);
        Update(plain);
        return plain;
    }
};

std::vector<uint8_t> Inflate(const uint8_t* data, size_t n, size_t expected) {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) abort();
    std::vector<uint8_t> out(expected + 1);
    z.next_in = const_cast<uint8_t*>(data);
    z.avail_in = static_cast<uInt>(n);
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&z, Z_FINISH);
    // The stream must end exactly at the end of the entry's data.
    if (result != Z_STREAM_END || z.avail_in != 0) abort();
    out.resize(z.total_out);
    inflateEnd(&z);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const uint8_t level = data[0] % 10;
    const bool encrypt = data[1] & 1;
    const unsigned workers = 1 + ((data[1] >> 1) & 3);
    const bool expand = data[1] & 8;
    const std::vector<uint8_t> input =
        expand ? Expand(data + 4, size - 4) : std::vector<uint8_t>(data + 4, data + size);
    // At most a few hundred chunks: the archiver's are 512 KiB and more, and each chunk costs
    // the fast engine a cleared match table and a primed dictionary, so that 4 MiB in 2 KiB
    // chunks took ten seconds under the sanitizers and counted as a hang.
    const uint32_t chunkSize =
        std::max<uint32_t>(1 + (data[2] | data[3] << 8) * 16u, static_cast<uint32_t>(input.size() / kMaxChunks + 1));

    TMemoryStream source, archive;
    source.WriteBuffer(input.data(), static_cast<int64_t>(input.size()));
    TDirItem item;
    item.EntryCompressionMode = level;
    item.Method = level == 0 ? 0 : 8;
    if (encrypt) item.EntryPassword = "lozinka";
    TEntryDataContext context;
    context.Workers = workers;
    context.ChunkSize = chunkSize;
    if (!WriteEntryData(source, archive, item, context)) abort();

    std::vector<uint8_t> stored = archive.Data();
    if (item.CompressedSize != stored.size() || item.UncompressedSize != input.size()) abort();
    if (item.Crc32 != crc32(0, input.data(), static_cast<uInt>(input.size()))) abort();
    size_t at = 0;
    if (encrypt) {
        TZipDecryptor d(item.EntryPassword);
        for (uint8_t& b : stored) b = d.Decrypt(b);
        if (stored.size() < 12 || stored[11] != static_cast<uint8_t>(item.Crc32 >> 24)) abort();
        at = 12;
    }
    const std::vector<uint8_t> back = item.Method == 0 ? std::vector<uint8_t>(stored.begin() + at, stored.end())
                                                       : Inflate(stored.data() + at, stored.size() - at, input.size());
    if (back != input) abort();
    return 0;
}
