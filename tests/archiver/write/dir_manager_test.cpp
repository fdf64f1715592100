// Reading and writing the central directory: loading archives of other writers (and refusing
// damaged ones), writing it back, ZIP64 end records.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "archiver/archive_fixtures.h"
#include "archiver/errors.h"
#include "archiver/write/archive_files.h"
#include "archiver/write/dir_manager.h"
#include "archiver/zip/entry_codec.h"
#include "archiver/zip/records.h"
#include "core/paths.h"
#include "core/streams.h"

using namespace archive_fixtures;

namespace {

std::unique_ptr<TMemoryStream> StreamOf(const std::vector<uint8_t>& bytes) {
    auto s = std::make_unique<TMemoryStream>();
    if (!bytes.empty()) s->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return s;
}

std::string LoadFailure(const std::vector<uint8_t>& bytes) {
    auto s = StreamOf(bytes);
    try {
        TVXDirManager d(*s, nullptr);
    } catch (const EVXException& e) {
        return e.Message();
    }
    return "(loaded)";
}

void PutU16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b.at(at) = static_cast<uint8_t>(v);
    b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    PutU16(b, at, static_cast<uint16_t>(v));
    PutU16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

}  // namespace

TEST(DirManager, StreamsWithoutAnEndRecordLoadEmpty) {
    std::vector<uint8_t> far(70000, 'x');
    std::memcpy(far.data(), "PK\x05\x06", 4);  // outside the searched window
    const std::vector<uint8_t> inputs[] = {{}, std::vector<uint8_t>(21, 0), far,
                                           ReadFileBytes(CorpusPath("not_a_zip.bin"))};
    for (const auto& bytes : inputs) {
        auto s = StreamOf(bytes);
        TVXDirManager d(*s, nullptr);
        EXPECT_EQ(d.Items.Count(), 0);
        EXPECT_EQ(d.StartOffset, 0);
        EXPECT_EQ(d.EndRecord, TEndRecord::Empty());
    }
}

TEST(DirManager, LoadsArchivesOfOtherWriters) {
    struct Case {
        const char* file;
        int count;
        int64_t startOffset;
        std::vector<std::string> firstNames;
        std::string comment;
    } cases[] = {
        {"infozip.zip", 3, 0, {"alpha.txt", "beta.bin", "sub/gamma.txt"}, "Info-ZIP archive comment"},
        {"infozip_stored.zip", 3, 0, {"alpha.txt"}, ""},
        {"sevenzip.zip", 3, 0, {"alpha.txt", "beta.bin", "sub/gamma.txt"}, ""},
        {"bsdtar.zip", 3, 0, {"alpha.txt", "beta.bin", "sub/gamma.txt"}, ""},
        {"python.zip", 3, 0, {"first.txt", "dir/file.txt", "folder/"}, "python archive comment"},
        {"prefix100.zip", 3, 100, {"first.txt", "dir/file.txt", "folder/"}, "python archive comment"},
        // The inner archive's end record lies in the outer one's last bytes.
        {"inner_last.zip", 2, 0, {"readme.txt", "inner.zip"}, ""},
        {"empty_commented.zip", 0, 0, {}, "hello"},
        {"many.zip", 65546, 0, {"e00000", "e00001"}, ""},
    };
    for (const Case& c : cases) {
        auto s = StreamOf(ReadFileBytes(CorpusPath(c.file)));
        TVXDirManager d(*s, nullptr);
        EXPECT_EQ(d.Items.Count(), c.count) << c.file;
        EXPECT_EQ(d.StartOffset, c.startOffset) << c.file;
        EXPECT_EQ(d.ArchiveComment, c.comment) << c.file;
        for (size_t i = 0; i < c.firstNames.size(); ++i)
            EXPECT_EQ(d.Items.ItemPtr(static_cast<int>(i))->StoredName, c.firstNames[i]) << c.file;
        for (int i = 0; i < d.Items.Count(); ++i) EXPECT_FALSE(d.Items.ItemPtr(i)->Pending);
    }
    // Comments and extra fields of the entries are kept for writing back.
    auto s = StreamOf(ReadFileBytes(CorpusPath("python.zip")));
    TVXDirManager d(*s, nullptr);
    const TDirItem& first = *d.Items.ItemPtr(0);
    EXPECT_EQ(first.Comment, "entry comment one");
    ASSERT_TRUE(first.ExtraBlock);
    EXPECT_EQ(*first.ExtraBlock, (std::vector<uint8_t>{0x99, 0x99, 0x04, 0x00, 'a', 'b', 'c', 'd'}));
    EXPECT_EQ(d.Items.ItemPtr(1)->LoadedName, "dir\\file.txt");
}

TEST(DirManager, RewritingTheDirectoryReproducesIt) {
    // With the entries untouched, cutting at the directory and writing it again gives the file
    // back byte for byte: comments, extra fields and backslash names survive.
    for (const char* file : {"python.zip", "infozip.zip", "sevenzip.zip", "bsdtar.zip", "prefix100.zip"}) {
        const std::vector<uint8_t> original = ReadFileBytes(CorpusPath(file));
        auto s = StreamOf(original);
        TVXDirManager d(*s, nullptr);
        s->SetSize(d.CentralDirPosition());
        d.WriteCentralDirectory();
        EXPECT_EQ(s->Data(), original) << file;
    }
}

TEST(DirManager, DamagedRecordsAreRefused) {
    const std::vector<uint8_t> good = ReadFileBytes(CorpusPath("python.zip"));
    const size_t end = good.size() - 22 - 22;
    const uint32_t dirSize = U32At(good, end + 12);
    const size_t dir = end - dirSize;
    const size_t second = dir + 46 + 9 + 8 + 17;
    struct Case { const char* what; std::function<void(std::vector<uint8_t>&)> mutate; std::string reason; } cases[] = {
        {"directory size", [&](auto& b) { PutU32(b, end + 12, static_cast<uint32_t>(end + 1)); },
         "the central directory is larger than the data in front of the end record"},
        {"comment length", [&](auto& b) { PutU16(b, end + 20, 0x4000); },
         "the archive comment runs past the end of the file"},
        {"central signature", [&](auto& b) { b[dir + 2] = 0; }, "central header 0 has no signature"},
        {"name length", [&](auto& b) { PutU16(b, second + 28, 0x7FFF); },
         "the name, extra field or comment of central header 1 runs past the directory"},
        {"local offset", [&](auto& b) { PutU32(b, second + 42, 0x00100000); },
         "entry 1 lies outside the data in front of the central directory"},
        {"compressed size", [&](auto& b) { PutU32(b, dir + 20, 0xFFFFFF00); },
         "entry 0 lies outside the data in front of the central directory"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        c.mutate(bytes);
        EXPECT_EQ(LoadFailure(bytes), "Archive is damaged: " + c.reason + " - Native error: 00032") << c.what;
    }
}

TEST(DirManager, WritesAndReadsZip64EndRecordsForManyEntries) {
    TMemoryStream s;
    {
        TVXDirManager d(s, nullptr);
        // One local header for all of them to point at.
        const auto local = TLocalHeader{}.Encode();
        s.WriteBuffer(local.data(), static_cast<int64_t>(local.size()));
        d.Items.SetCount(65536);
        for (int i = 0; i < d.Items.Count(); ++i) {
            TDirItem& item = *d.Items.ItemPtr(i);
            item.StoredName = std::to_string(i).insert(0, 1, 'n');
            item.VersionMadeBy = item.VersionNeeded = kVersionDefault;
        }
        d.WriteCentralDirectory();
    }
    const std::vector<uint8_t>& b = s.Data();
    const size_t end = b.size() - 22;
    EXPECT_EQ(U32At(b, end), TEndRecord::Signature);
    EXPECT_EQ(U16At(b, end + 10), 0xFFFF);
    EXPECT_EQ(U32At(b, end - 20), TZip64Locator::Signature);
    EXPECT_EQ(U32At(b, end - 20 - 56), TZip64EndRecord::Signature);
    EXPECT_EQ(U32At(b, end - 20 - 56 + 32), 65536u);  // total entries, low half
    TVXDirManager again(s, nullptr);
    ASSERT_EQ(again.Items.Count(), 65536);
    EXPECT_EQ(again.Items.ItemPtr(65535)->StoredName, "n65535");

    // 65,535 entries still fit the classic record: no ZIP64 record is written.
    TMemoryStream fits;
    TVXDirManager d(fits, nullptr);
    d.Items.SetCount(65535);
    d.WriteCentralDirectory();
    EXPECT_EQ(fits.Size(), 65535 * 46 + 22);
    EXPECT_EQ(U16At(fits.Data(), static_cast<size_t>(fits.Size()) - 12), 0xFFFF);
}

TEST(DirManager, DirectoriesBeyondWhatTheProcessCanHoldAreRefused) {
    // Sparse files, so that the claimed sizes lie within them: a directory of 1.9 GiB that a
    // 32-bit process cannot allocate, and a ZIP64 size of 4 GiB and more whose low 32 bits
    // would pass for a well-formed directory of one entry.
    const std::string path = JoinPath(ScratchFolder("huge_directories"), "huge.zip");
    const uint64_t fourGiB = uint64_t{1} << 32;
    struct Case {
        const char* what;
        std::function<void(TFileStream&)> write;
        std::string reason;
    } cases[] = {
        {"1.9 GiB",
         [](TFileStream& f) {
             const int64_t size = int64_t{1900} << 20;
             TEndRecord end;
             end.EntriesOnDisk = end.TotalEntries = 1;
             end.CentralDirOffset = 100;
             end.CentralDirSize = static_cast<uint32_t>(size - 22 - 100);
             f.SetSize(size - 22);
             f.SetPosition(size - 22);
             const auto bytes = end.Encode();
             f.WriteBuffer(bytes.data(), bytes.size());
         },
         "a central directory of 1 entries in 1992294278 bytes is more than this program can hold"},
        {"ZIP64, 4 GiB and 51 bytes",
         [fourGiB](TFileStream& f) {
             TDirItem item;
             item.StoredName = "a.txt";
             TLocalValues none;
             const std::vector<uint8_t> local = EncodeLocalEntry(item, none);
             f.WriteBuffer(local.data(), static_cast<int64_t>(local.size()));
             const std::vector<uint8_t> central = EncodeCentralEntry(item);
             f.WriteBuffer(central.data(), static_cast<int64_t>(central.size()));
             const uint64_t dirSize = fourGiB + central.size();
             const int64_t dirEnd = static_cast<int64_t>(local.size() + dirSize);
             TZip64EndRecord z;
             z.EntriesOnDisk = z.TotalEntries = 1;
             z.CentralDirSize = dirSize;
             z.CentralDirOffset = local.size();
             TZip64Locator l;
             l.EndRecordOffset = static_cast<uint64_t>(dirEnd);
             TEndRecord end;
             end.EntriesOnDisk = end.TotalEntries = kSaturated16;
             end.CentralDirSize = end.CentralDirOffset = kSaturated32;
             f.SetPosition(dirEnd);
             const auto zb = z.Encode();
             const auto lb = l.Encode();
             const auto eb = end.Encode();
             f.WriteBuffer(zb.data(), zb.size());
             f.WriteBuffer(lb.data(), lb.size());
             f.WriteBuffer(eb.data(), eb.size());
         },
         "a central directory of 1 entries in 4294967347 bytes is more than this program can hold"},
    };
    for (const Case& c : cases) {
        {
            TFileStream f(path, fmCreate);
            c.write(f);
        }
        std::string failure = "(loaded)";
        try {
            TFileStream f(path, fmOpenRead);
            TVXDirManager d(f, nullptr);
        } catch (const EVXException& e) {
            failure = e.Message();
        }
        DeleteArchiveFile(path);
        EXPECT_EQ(failure, "Archive is damaged: " + c.reason + " - Native error: 00032") << c.what;
    }
}
