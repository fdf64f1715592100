#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "archiver/data_fixtures.h"
#include "archiver/deflate/deflate_matches.h"
#include "archiver/deflate/fast_deflate.h"
#include "archiver/vorbex.h"
#include "support/files.h"
#include "support/test_data.h"

namespace {

// Inflates a raw deflate stream with zlib, the reader every archiver shares.
bool InflatesTo(const std::vector<uint8_t>& raw, const std::string& expected) {
    z_stream z{};
    inflateInit2(&z, -MAX_WBITS);
    std::string out(expected.size() + 64, '\0');
    z.next_in = const_cast<Bytef*>(raw.data());
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&z, Z_FINISH);
    out.resize(out.size() - z.avail_out);
    const bool whole = z.avail_in == 0;
    inflateEnd(&z);
    return status == Z_STREAM_END && whole && out == expected;
}

std::string Repeating(size_t n, size_t period) {
    std::string s = support::NoiseBytes(period);
    std::string out;
    while (out.size() < n) out += s;
    out.resize(n);
    return out;
}

// Deflates source in chunks the way the data step does and returns the joined stream.
std::vector<uint8_t> DeflateInChunks(const std::string& source, size_t chunk) {
    TFastDeflater deflater;
    std::vector<uint8_t> stream;
    const auto* bytes = reinterpret_cast<const uint8_t*>(source.data());
    size_t done = 0;
    do {
        const size_t n = std::min(chunk, source.size() - done);
        std::vector<uint8_t> out(TFastDeflater::Bound(n));
        const bool last = done + n == source.size();
        const size_t produced =
            deflater.Deflate(bytes + done, n, std::min<size_t>(done, 32768), last, out.data(), out.size());
        if (!last) {
            EXPECT_EQ(std::string(out.begin() + produced - 4, out.begin() + produced), std::string("\0\0\xFF\xFF", 4));
        }
        stream.insert(stream.end(), out.begin(), out.begin() + produced);
        done += n;
    } while (done < source.size());
    return stream;
}

}  // namespace

TEST(FastDeflate, RoundTripsThroughZlib) {
    const struct {
        const char* name;
        std::string data;
        size_t chunk;
    } cases[] = {
        {"empty", "", 4096},
        {"one byte", "a", 4096},
        {"three bytes", "abc", 4096},
        {"one byte repeated (distance 1, longest matches)", std::string(300000, 'x'), 65536},
        {"text", support::TextBytes(400000, 3), 131072},
        {"noise (stored blocks)", support::NoiseBytes(200000), 65536},
        {"repeats at the farthest distance", Repeating(200000, 32768), 1 << 20},
        {"repeats just beyond the window", Repeating(200000, 32769), 1 << 20},
        {"matches across chunk boundaries", Repeating(300000, 1000), 4099},
        {"many blocks in one chunk", support::TextBytes(1 << 20, 9) + std::string(1 << 20, '\0'), 1 << 21},
        {"chunks shorter than a hash", support::TextBytes(1000, 4), 3},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> stream = DeflateInChunks(c.data, c.chunk);
        EXPECT_TRUE(InflatesTo(stream, c.data)) << c.name;
        const size_t chunks = c.data.size() / c.chunk + 1;
        EXPECT_LE(stream.size(), chunks * TFastDeflater::Bound(std::min(c.chunk, c.data.size()))) << c.name;
    }
}

TEST(FastDeflate, CompressesAboutAsWellAsZlibLevelOne) {
    const std::string text = support::TextBytes(1 << 20, 7);
    const std::vector<uint8_t> ours = DeflateInChunks(text, 524288);
    std::vector<uint8_t> theirs(compressBound(static_cast<uLong>(text.size())));
    z_stream z{};
    deflateInit2(&z, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = theirs.data();
    z.avail_out = static_cast<uInt>(theirs.size());
    ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    const size_t zlibSize = theirs.size() - z.avail_out;
    deflateEnd(&z);
    EXPECT_LT(ours.size(), zlibSize + zlibSize / 20) << "ours " << ours.size() << ", zlib " << zlibSize;
}

TEST(FastDeflate, RefusesABufferBelowTheBound) {
    TFastDeflater deflater;
    std::vector<uint8_t> out(TFastDeflater::Bound(1000) - 1);
    const std::string data = support::NoiseBytes(1000);
    EXPECT_ANY_THROW(deflater.Deflate(reinterpret_cast<const uint8_t*>(data.data()), data.size(), 0, true, out.data(), out.size()));
}

TEST(FastDeflate, AnArchiveOfTheFarthestLongestMatchesIsReadByEveryReader) {
    // Noise that repeats every 32 KiB: the one match the window holds lies at distance 32,768,
    // and it runs as long as deflate lets a match run, 258 bytes. The archive checker has the
    // real readers extract it afterwards.
    const std::string folder = fixtures::TestFolder("farthest_match");
    const std::string source = JoinPath(folder, "period.bin");
    support::WriteBytes(source, Repeating(200000, 32768));
    const std::string zip = JoinPath(folder, "farthest_match.zip");
    {
        TVorbex archiver(nullptr);
        archiver.SetFileName(zip);
        archiver.Open(fmCreate);
        archiver.SetBaseDir(folder);
        archiver.AddMatchingFiles("period.bin", faAnyFile, "");
        archiver.Close();
    }
    fixtures::ExpectEntries(zip, {{"period.bin", source}});

    const std::string bytes = support::ReadBytes(zip);
    auto u16 = [&](size_t at) {
        return static_cast<size_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8);
    };
    const size_t dataStart = 30 + u16(26) + u16(28);
    const size_t compressed = u16(18) | u16(20) << 16;
    ASSERT_LE(dataStart + compressed, bytes.size());
    const std::vector<uint8_t> raw(bytes.begin() + static_cast<std::ptrdiff_t>(dataStart),
                                   bytes.begin() + static_cast<std::ptrdiff_t>(dataStart + compressed));
    size_t farthestLongest = 0;
    for (const deflate_matches::TMatch& m : deflate_matches::MatchesOf(raw))
        farthestLongest += m.Length == 258 && m.Distance == 32768;
    // (200,000 - 32,768) / 258 is 648: nearly all of the repeats.
    EXPECT_GT(farthestLongest, 600u);
}
