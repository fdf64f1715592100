#pragma once
// Stage read/ reads an archive as it lies on the disk, from any writer, and never writes to it.
// TestArchive checks it the way unzip -t does: its directory is found and decoded (by the
// directory manager, which knows ZIP64 records and data in front of the archive), and every
// entry's local header is compared with its central record and its data are inflated by zlib
// (verify/'s reading, the decoder independent of our deflate) to the recorded size and CRC-32.
// A method it cannot read, or an encrypted entry without the password, is a fault, not a pass.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TStream;

// One entry of a tested archive; Problem says what is wrong with it, empty when it is sound.
struct TTestedEntry {
    std::string Name;
    uint16_t Method = 0;
    uint16_t Time = 0;  // MS-DOS time and date words
    uint16_t Date = 0;
    uint32_t Crc32 = 0;
    uint64_t CompressedSize = 0;
    uint64_t UncompressedSize = 0;
    std::string Problem;
};

struct TArchiveTest {
    // What keeps the whole archive from being read (no end record, a damaged directory): the
    // entries are then not tested, and Entries is empty.
    std::string Problem;
    std::vector<TTestedEntry> Entries;
    // A handler asked to stop; the entries after the last one listed were not tested.
    bool Stopped = false;

    bool Sound() const;
};

struct TArchiveTestOptions {
    // For entries with the traditional ZIP encryption.
    std::string Password;
    // Asked before each piece of data is read, with the entries' bytes checked so far and all
    // there are (their uncompressed sizes); true stops the test.
    std::function<bool(int64_t done, int64_t total)> BeforePiece;
    // Hears of each entry as soon as it has been tested.
    std::function<void(const TTestedEntry&)> Tested;
};

// Read errors of the stream (a file cut short under the directory) are reported, not raised.
TArchiveTest TestArchive(TStream& archive, const TArchiveTestOptions& options = {});

// The directory alone, the entries described and not tested (their Problem empty): what an
// archive holds, before the time its full test takes is spent.
TArchiveTest ReadDirectory(TStream& archive);
