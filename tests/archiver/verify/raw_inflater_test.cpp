// zlib's inflate as the verification uses it: a chunk of a sync-flushed stream, primed with the
// source in front of it, gives its bytes and ends between blocks; cut short or run on, it does
// not.
#include <gtest/gtest.h>

#include <vector>

#include "archiver/deflate/chunk_deflater.h"
#include "archiver/verify/raw_inflater.h"
#include "support/test_data.h"

namespace {

struct TChunked {
    std::string Source;
    std::vector<std::vector<uint8_t>> Chunks;  // each ends with a sync flush, the last with the final block
};

TChunked Deflated(int level, size_t chunkSize, size_t count) {
    TChunked c;
    c.Source = support::TextBytes(chunkSize * count, 6);
    TChunkDeflater deflater(level);
    for (size_t i = 0; i < count; ++i)
        c.Chunks.push_back(deflater.DeflateChunk(reinterpret_cast<const uint8_t*>(c.Source.data()) + i * chunkSize,
                                                 static_cast<int64_t>(chunkSize), i + 1 == count));
    return c;
}

struct TResult {
    std::string Output;
    bool AtChunkEnd;
    bool Ended;
};

TResult Inflate(const TChunked& c, size_t chunk, size_t chunkSize, std::vector<uint8_t> data) {
    TRawInflater inflater;
    const size_t dictionary = chunk == 0 ? 0 : std::min(kDeflateWindow, chunk * chunkSize);
    inflater.Restart(reinterpret_cast<const uint8_t*>(c.Source.data()) + chunk * chunkSize - dictionary, dictionary);
    inflater.Feed(data.data(), data.size());
    std::vector<uint8_t> out(chunkSize + 1);
    const size_t got = inflater.Inflate(out.data(), out.size());
    return {std::string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(got)), inflater.AtChunkEnd(),
            inflater.Ended()};
}

}  // namespace

TEST(RawInflater, ChunksEndBetweenBlocksAndTheLastOneEndsTheStream) {
    const size_t chunkSize = 100000;
    for (int level : {1, 6, 9}) {
        SCOPED_TRACE(level);
        const TChunked c = Deflated(level, chunkSize, 3);
        for (size_t k = 0; k < 3; ++k) {
            const TResult r = Inflate(c, k, chunkSize, c.Chunks[k]);
            EXPECT_EQ(r.Output, c.Source.substr(k * chunkSize, chunkSize)) << k;
            EXPECT_EQ(r.AtChunkEnd, k < 2) << k;
            EXPECT_EQ(r.Ended, k == 2) << k;
        }
        // The middle chunk without the last byte of its flush marker, and with the next
        // chunk's first byte behind it.
        std::vector<uint8_t> cut(c.Chunks[1].begin(), c.Chunks[1].end() - 1);
        EXPECT_FALSE(Inflate(c, 1, chunkSize, cut).AtChunkEnd);
        std::vector<uint8_t> longer = c.Chunks[1];
        longer.push_back(c.Chunks[2].front());
        EXPECT_FALSE(Inflate(c, 1, chunkSize, longer).AtChunkEnd);
        // Without the source in front, the chunk's references back have nothing to reach.
        TRawInflater bare;
        bare.Feed(c.Chunks[1].data(), c.Chunks[1].size());
        std::vector<uint8_t> out(chunkSize + 1);
        EXPECT_THROW(bare.Inflate(out.data(), out.size()), EInflateError);
    }
}
