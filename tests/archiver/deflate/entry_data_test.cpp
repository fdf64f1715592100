#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "archiver/data_fixtures.h"
#include "archiver/deflate/chunk_deflater.h"
#include "archiver/deflate/crc32.h"
#include "archiver/deflate/crc32_folding.h"
#include "archiver/deflate/entry_data.h"
#include "archiver/zip/entry_codec.h"
#include "archiver/zip/records.h"
#include "core/streams.h"
#include "support/test_data.h"

namespace {

// A source that records how many bytes each read asked for.
class TRecordingStream : public TMemoryStream {
public:
    explicit TRecordingStream(const std::string& bytes) { WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size())); }
    int64_t Read(void* buffer, int64_t count) override {
        reads.push_back(count);
        return TMemoryStream::Read(buffer, count);
    }
    std::vector<int64_t> reads;
};

// A source whose size promises more than it delivers (a file cut short while it is read).
class TShortSource : public TStream {
public:
    TShortSource(std::string bytes, int64_t missing) : bytes_(std::move(bytes)), missing_(missing) {}
    int64_t Read(void* buffer, int64_t count) override {
        const int64_t n = std::min<int64_t>(count, static_cast<int64_t>(bytes_.size()) - pos_);
        std::memcpy(buffer, bytes_.data() + pos_, static_cast<size_t>(n));
        pos_ += n;
        return n;
    }
    int64_t Write(const void*, int64_t) override { return 0; }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override {
        pos_ = origin == TSeekOrigin::soBeginning ? offset : pos_ + offset;
        return pos_;
    }
    int64_t Size() override { return static_cast<int64_t>(bytes_.size()) + missing_; }
    void SetSize(int64_t) override {}

private:
    std::string bytes_;
    int64_t missing_;
    int64_t pos_ = 0;
};

// An archive that is full after a few bytes.
class TFullArchive : public TMemoryStream {
public:
    int64_t Write(const void* buffer, int64_t count) override {
        return TMemoryStream::Write(buffer, std::min<int64_t>(count, std::max<int64_t>(0, 100 - Size())));
    }
};

TDirItem NewItem(uint16_t method, uint8_t mode, const std::string& password = "") {
    TDirItem item;
    item.Method = method;
    item.Crc32 = 0xFFFFFFFFu;
    item.EntryCompressionMode = mode;
    item.EntryPassword = password;
    return item;
}

std::string Inflated(const std::vector<uint8_t>& raw) {
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -MAX_WBITS), Z_OK);
    std::string out;
    std::vector<uint8_t> buffer(1 << 16);
    z.next_in = const_cast<Bytef*>(raw.data());
    z.avail_in = static_cast<uInt>(raw.size());
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = buffer.data();
        z.avail_out = static_cast<uInt>(buffer.size());
        status = inflate(&z, Z_NO_FLUSH);
        out.append(reinterpret_cast<char*>(buffer.data()), buffer.size() - z.avail_out);
    }
    EXPECT_EQ(status, Z_STREAM_END) << "a complete raw deflate stream";
    EXPECT_EQ(z.avail_in, 0u) << "nothing after the final block";
    inflateEnd(&z);
    return out;
}

std::vector<uint8_t> Bytes(TMemoryStream& s) { return s.Data(); }

}  // namespace

TEST(Crc32, CheckValueAndPieces) {
    EXPECT_EQ(Crc32Of("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(UpdateCrc32(0x12345678u, nullptr, 5), 0x12345678u);
    EXPECT_EQ(UpdateCrc32(0x12345678u, "abc", 0), 0x12345678u);
    EXPECT_EQ(UpdateCrc32(0x12345678u, "abc", -1), 0x12345678u);
    const std::string text = support::TextBytes(100000);
    const uint32_t whole = Crc32Of(text.data(), 100000);
    EXPECT_EQ(UpdateCrc32(UpdateCrc32(0, text.data(), 33333), text.data() + 33333, 66667), whole);
    EXPECT_EQ(CombineCrc32(Crc32Of(text.data(), 40000), Crc32Of(text.data() + 40000, 60000), 60000), whole);
}

TEST(Crc32, FoldingGivesZlibsValueForEveryLengthAndAlignment) {
    // zlib's table-driven crc32() is the reference; the fold takes over from 256 bytes where the
    // processor has carry-less multiplication.
    if (!CarrylessMultiplyAvailable()) GTEST_SKIP() << "no carry-less multiplication here: zlib's table does it all";
    const std::string noise = support::NoiseBytes(70000, 3);
    const auto* bytes = reinterpret_cast<const uint8_t*>(noise.data());
    std::vector<size_t> lengths;
    for (size_t n = 0; n <= 700; ++n) lengths.push_back(n);
    for (size_t n : {1023u, 1024u, 4097u, 65536u, 69983u}) lengths.push_back(n);
    for (size_t offset = 0; offset < 16; ++offset) {
        for (size_t n : lengths) {
            const uint32_t start = static_cast<uint32_t>(n * 2654435761u);
            EXPECT_EQ(UpdateCrc32(start, bytes + offset, static_cast<int64_t>(n)),
                      static_cast<uint32_t>(crc32(start, bytes + offset, static_cast<uInt>(n))))
                << "length " << n << " at offset " << offset;
        }
    }
}

TEST(DataStep, ChunkAndOutputBufferSizes) {
    const std::pair<uint8_t, uint32_t> chunks[] = {{0, 1048576}, {1, 524288}, {3, 524288}, {4, 1048576},
                                                   {6, 1048576}, {7, 1572864}, {9, 1572864}};
    for (auto [mode, size] : chunks) EXPECT_EQ(ChunkSizeForMode(mode), size) << int(mode);
    const std::pair<int64_t, int64_t> buffers[] = {{0, 256}, {1, 256}, {222, 256}, {223, 512}, {524288, 576768},
                                                   {1048576, 1153536}, {1572864, 1730304}};
    for (auto [n, size] : buffers) EXPECT_EQ(OutputBufferSize(n), size) << n;
}

TEST(DataStep, PassesFollowTheChunkSize) {
    const int64_t chunk = 524288;
    struct Case {
        int64_t size;
        std::vector<int64_t> reads;
    } const cases[] = {
        {0, {}},
        {1, {1}},
        {chunk - 1, {chunk - 1}},
        {chunk, {chunk}},
        {chunk + 1, {chunk, 1}},
        {1000000, {524288, 475712}},
        {3 * chunk + 7, {chunk, chunk, chunk, 7}},
    };
    for (const Case& c : cases) {
        const std::string source = support::TextBytes(static_cast<size_t>(c.size), 3);
        TRecordingStream in(source);
        TMemoryStream out;
        TDirItem item = NewItem(8, 1);
        std::vector<int64_t> reported;
        TEntryDataContext context;
        context.BeforePass = [&](int64_t processed, int64_t total) {
            EXPECT_EQ(total, c.size);
            reported.push_back(processed);
            return false;
        };
        ASSERT_TRUE(WriteEntryData(in, out, item, context)) << c.size;
        EXPECT_EQ(in.reads, c.reads) << c.size;
        std::vector<int64_t> expectedReports;
        for (size_t i = 0, at = 0; i < c.reads.size(); at += c.reads[i], ++i) expectedReports.push_back(at);
        EXPECT_EQ(reported, expectedReports) << "one report before every pass, none of 100 %";

        const std::vector<uint8_t> raw = Bytes(out);
        EXPECT_EQ(Inflated(raw), source) << c.size;
        EXPECT_EQ(item.Crc32, Crc32Of(source.data(), c.size));
        EXPECT_EQ(item.CompressedSize, raw.size());
        EXPECT_EQ(item.UncompressedSize, static_cast<uint64_t>(c.size));
    }
}

TEST(DataStep, EveryPassButTheLastEndsWithASyncFlush) {
    const std::string source = support::TextBytes(524288 + 1, 5);
    TMemoryStream in, firstPassOnly, out;
    in.WriteBuffer(source.data(), static_cast<int64_t>(source.size()));
    TDirItem item = NewItem(8, 1);
    ASSERT_TRUE(WriteEntryData(in, out, item, {}));
    // The first pass alone, with a sync flush, must be a byte-aligned prefix of the entry.
    TChunkDeflater deflater(1);
    const std::vector<uint8_t> first = deflater.DeflateChunk(reinterpret_cast<const uint8_t*>(source.data()), 524288, false);
    ASSERT_GE(first.size(), 4u);
    EXPECT_EQ(std::memcmp(first.data() + first.size() - 4, "\x00\x00\xFF\xFF", 4), 0);
    ASSERT_GT(out.Data().size(), first.size());
    EXPECT_EQ(std::memcmp(out.Data().data(), first.data(), first.size()), 0);
}

TEST(DataStep, StoredLevelZeroAndEmptyEntries) {
    const std::string source = support::NoiseBytes(200000);
    {
        TMemoryStream in, out;
        in.WriteBuffer(source.data(), 200000);
        TDirItem item = NewItem(0, 0);
        ASSERT_TRUE(WriteEntryData(in, out, item, {}));
        EXPECT_EQ(std::string(out.Data().begin(), out.Data().end()), source) << "stored: bytes as read";
        EXPECT_EQ(item.CompressedSize, 200000u);
    }
    {
        TMemoryStream in, out;
        in.WriteBuffer(source.data(), 200000);
        TDirItem item = NewItem(8, 0);  // method 8 at level 0: deflate's stored blocks
        ASSERT_TRUE(WriteEntryData(in, out, item, {}));
        EXPECT_GT(out.Data().size(), 200000u);
        EXPECT_LT(out.Data().size(), 200100u);
        EXPECT_EQ(Inflated(out.Data()), source);
    }
    struct EmptyCase {
        uint16_t method;
        std::string password;
        uint64_t compressed;
    } const empties[] = {{0, "", 0}, {8, "", 2}, {0, "pw", 12}, {8, "pw", 14}};
    for (const EmptyCase& c : empties) {
        TMemoryStream in, out;
        TDirItem item = NewItem(c.method, 1, c.password);
        ASSERT_TRUE(WriteEntryData(in, out, item, {}));
        EXPECT_EQ(item.Crc32, 0u);
        EXPECT_EQ(item.CompressedSize, c.compressed) << c.method << c.password;
        EXPECT_EQ(item.UncompressedSize, 0u);
        if (c.method == 8 && c.password.empty()) {
            EXPECT_EQ(Inflated(out.Data()), "");
        }
    }
}

TEST(DataStep, EncryptedEntryCountsItsHeader) {
    const std::string source = support::TextBytes(70000);
    TRecordingStream in(source);
    TMemoryStream out;
    TDirItem item = NewItem(8, 1, "tajna");
    ASSERT_TRUE(WriteEntryData(in, out, item, {}));
    EXPECT_EQ(in.reads, (std::vector<int64_t>{70000, 70000})) << "one reading for the CRC, one for the data";
    EXPECT_EQ(item.Crc32, Crc32Of(source.data(), 70000));
    EXPECT_EQ(item.CompressedSize, out.Data().size());
    TMemoryStream plainIn, plainOut;
    plainIn.WriteBuffer(source.data(), 70000);
    TDirItem plain = NewItem(8, 1);
    ASSERT_TRUE(WriteEntryData(plainIn, plainOut, plain, {}));
    EXPECT_EQ(out.Data().size(), plainOut.Data().size() + 12);
    EXPECT_NE(std::vector<uint8_t>(out.Data().begin() + 12, out.Data().end()), plainOut.Data());
}

TEST(DataStep, CancelLeavesTheHeaderAlone) {
    const std::string source = support::TextBytes(1000000);
    TMemoryStream in, out;
    in.WriteBuffer(source.data(), 1000000);
    TDirItem item = NewItem(8, 1);
    const std::vector<uint8_t> before = EncodeCentralEntry(item);
    int calls = 0;
    TEntryDataContext context;
    context.BeforePass = [&](int64_t, int64_t) { return ++calls == 2; };
    EXPECT_FALSE(WriteEntryData(in, out, item, context));
    EXPECT_EQ(EncodeCentralEntry(item), before);
    context.DataStepOn = false;
    EXPECT_FALSE(WriteEntryData(in, out, item, context)) << "the bare base archiver writes no data";
}

TEST(DataStep, ShortReadsAndWritesRaise) {
    TShortSource shortSource(support::TextBytes(5000), 10);
    TMemoryStream out;
    TDirItem item = NewItem(8, 1);
    EXPECT_THROW(WriteEntryData(shortSource, out, item, {}), EReadError);
    EXPECT_EQ(item.Crc32, 0xFFFFFFFFu);

    TMemoryStream in;
    const std::string noise = support::NoiseBytes(5000);
    in.WriteBuffer(noise.data(), 5000);
    TFullArchive full;
    EXPECT_THROW(WriteEntryData(in, full, item, {}), EWriteError);
}

TEST(DataStep, ParallelChunksMakeTheSameEntry) {
    const int64_t chunk = 524288;
    const struct {
        uint8_t mode;
        int64_t size;
    } cases[] = {{1, 0},         {1, 1},         {1, chunk - 1},         {1, chunk},
                 {1, chunk + 1}, {1, 2 * chunk}, {1, 2 * chunk + 1},     {1, 3 * chunk - 1},
                 {1, 7 * chunk + 12345},         {6, 3 * 1048576 + 5},   {9, 2 * 1572864 + 1}};
    for (const auto& c : cases) {
        const int64_t size = c.size;
        const uint32_t chunkSize = ChunkSizeForMode(c.mode);
        const std::string source = support::TextBytes(static_cast<size_t>(size / 2), 8) +
                                   support::NoiseBytes(static_cast<size_t>(size - size / 2));
        std::vector<int64_t> reports[2];
        TDirItem items[2] = {NewItem(8, c.mode), NewItem(8, c.mode)};
        std::vector<uint8_t> outputs[2];
        for (int run = 0; run < 2; ++run) {
            TRecordingStream in(source);
            TMemoryStream out;
            TEntryDataContext context;
            context.Workers = run == 0 ? 1 : 3;
            context.BeforePass = [&](int64_t processed, int64_t) {
                reports[run].push_back(processed);
                return false;
            };
            ASSERT_TRUE(WriteEntryData(in, out, items[run], context)) << size;
            outputs[run] = out.Data();
            EXPECT_EQ(Inflated(outputs[run]), source) << size << " workers " << context.Workers;
            EXPECT_EQ(items[run].CompressedSize, outputs[run].size());
            EXPECT_EQ(items[run].UncompressedSize, static_cast<uint64_t>(size));
            // Where each chunk begins, for reading them back side by side; none for one piece.
            const auto& chunks = items[run].Chunks;
            const size_t pieces = static_cast<size_t>((size + chunkSize - 1) / chunkSize);
            ASSERT_EQ(chunks ? chunks->size() : 0u, pieces > 1 ? pieces : 0u);
            for (size_t k = 0; chunks && k < chunks->size(); ++k) {
                EXPECT_EQ((*chunks)[k].Source, k * chunkSize);
                EXPECT_EQ((*chunks)[k].Data == 0, k == 0);
                EXPECT_LT((*chunks)[k].Data, outputs[run].size());
            }
            // Every byte is read once, in whole chunks, front to back.
            int64_t total = 0;
            for (size_t i = 0; i < in.reads.size(); ++i) {
                EXPECT_EQ(in.reads[i], std::min<int64_t>(chunkSize, size - total)) << size << " read " << i;
                total += in.reads[i];
            }
            EXPECT_EQ(total, size);
        }
        EXPECT_EQ(reports[0], reports[1]) << "the same progress reports";
        EXPECT_EQ(reports[1].size(), static_cast<size_t>((size + chunkSize - 1) / chunkSize)) << "one per chunk";
        EXPECT_EQ(items[0].Crc32, items[1].Crc32);
        EXPECT_EQ(items[1].Crc32, Crc32Of(source.data(), size));
        // Chunks primed with the preceding 32 KiB compress about as well as one stream.
        EXPECT_LT(outputs[1].size(), outputs[0].size() + outputs[0].size() / 50 + 64);
    }
    TMemoryStream in, out;
    const std::string source = support::TextBytes(3 * chunk);
    in.WriteBuffer(source.data(), 3 * chunk);
    TDirItem item = NewItem(8, 1);
    TEntryDataContext context;
    context.Workers = 2;
    int calls = 0;
    context.BeforePass = [&](int64_t, int64_t) { return ++calls == 3; };
    EXPECT_FALSE(WriteEntryData(in, out, item, context)) << "Cancel also stops parallel chunks";
}
