// The records and the directory entry: field-by-field encoding, the ZIP64 field of central
// entries, the directory array.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "archiver/archive_fixtures.h"
#include "archiver/errors.h"
#include "archiver/zip/dir_array.h"
#include "archiver/zip/entry_codec.h"
#include "archiver/zip/records.h"

using namespace archive_fixtures;

TEST(DirArray, RangeErrorsNameTheirCodes) {
    TVXDirArray a;
    a.SetCount(2);
    EXPECT_EQ(a.ItemPtr(1)->StoredName, "");
    const auto grown = CentralHeaderOf(*a.ItemPtr(1)).Encode();
    EXPECT_EQ(std::vector<uint8_t>(grown.begin() + 4, grown.end()), std::vector<uint8_t>(42, 0)) << "zeroed fields";
    struct { int32_t code; std::function<void()> call; } cases[] = {
        {1, [&] { a.PutItem(2, TDirItem{}); }}, {1, [&] { a.PutItem(-1, TDirItem{}); }},
        {2, [&] { a.GetItem(2); }},            {3, [&] { a.ItemPtr(-1); }},
    };
    for (auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "code " << c.code << " not raised";
        } catch (const EVXException& e) {
            EXPECT_EQ(e.NativeError, c.code);
            EXPECT_EQ(e.Message(), "Index out of bounds - Native error: 0000" + std::to_string(c.code));
        }
    }
}

TEST(Records, EncodeFieldByField) {
    TLocalHeader l;
    l.Method = 8;
    l.Time = 0x1234;
    l.Date = 0x5678;
    l.Crc32 = 0xCBF43926;
    l.CompressedSize = 0x0102;
    l.UncompressedSize = 0x030405;
    l.NameLength = 24;
    const std::vector<uint8_t> local = {0x50, 0x4B, 0x03, 0x04, 0x14, 0x00, 0x00, 0x00, 0x08, 0x00, 0x34, 0x12,
                                        0x78, 0x56, 0x26, 0x39, 0xF4, 0xCB, 0x02, 0x01, 0x00, 0x00, 0x05, 0x04,
                                        0x03, 0x00, 0x18, 0x00, 0x00, 0x00};
    auto lb = l.Encode();
    EXPECT_EQ(std::vector<uint8_t>(lb.begin(), lb.end()), local);

    TEndRecord e;
    e.EntriesOnDisk = e.TotalEntries = 1;
    e.CentralDirSize = 70;
    e.CentralDirOffset = 0x0100;
    auto eb = e.Encode();
    const std::vector<uint8_t> end = {0x50, 0x4B, 0x05, 0x06, 0, 0, 0, 0, 1, 0, 1, 0, 0x46, 0, 0, 0, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(eb.begin(), eb.end()), end);
}

TEST(Records, CentralEntriesGrowAZip64FieldOnlyWhenAValueDoesNotFit) {
    TDirItem item;
    item.StoredName = "big.bin";
    TCentralHeader h;
    h.NameLength = 7;
    TakeCentralHeader(h, item);
    item.CompressedSize = 1000;
    item.UncompressedSize = 0x1'0000'0000ull;
    item.LocalHeaderOffset = 0xFFFFFFFEull;
    // A private field of another writer stays, and so do two bytes behind it that no field
    // header covers; a stale ZIP64 field is replaced. The new one comes first, where readers
    // walking the fields reach it.
    item.ExtraBlock = std::make_shared<std::vector<uint8_t>>(std::vector<uint8_t>{
        0x99, 0x99, 0x01, 0x00, 0xAB, 0x01, 0x00, 0x08, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 0xEE, 0xEE});
    std::vector<uint8_t> bytes = EncodeCentralEntry(item);
    ASSERT_EQ(bytes.size(), 46u + 7 + 12 + 5 + 2);
    EXPECT_EQ(U16At(bytes, 6), kVersionZip64);
    EXPECT_EQ(U32At(bytes, 20), 1000u);
    EXPECT_EQ(U32At(bytes, 24), 0xFFFFFFFFu);
    EXPECT_EQ(U32At(bytes, 42), 0xFFFFFFFEu);
    EXPECT_EQ(U16At(bytes, 30), 19);
    const size_t extra = 46 + 7;
    EXPECT_EQ(U16At(bytes, extra), 0x0001);
    EXPECT_EQ(U16At(bytes, extra + 2), 8);
    EXPECT_EQ(U32At(bytes, extra + 4), 0u);
    EXPECT_EQ(U32At(bytes, extra + 8), 1u);
    EXPECT_EQ(U16At(bytes, extra + 12), 0x9999);
    EXPECT_EQ(U16At(bytes, extra + 17), 0xEEEE);
    const TZip64Extra back = TZip64Extra::Find(bytes.data() + extra, 19, true, false, false);
    EXPECT_EQ(back.UncompressedSize, std::optional<uint64_t>(0x1'0000'0000ull));

    // Everything fits: the header goes out as it came in, name after it.
    TDirItem small;
    small.StoredName = "a";
    h.NameLength = 1;
    h.Crc32 = 0x11223344;
    TakeCentralHeader(h, small);
    std::vector<uint8_t> plain = EncodeCentralEntry(small);
    const auto header = h.Encode();
    EXPECT_EQ(std::vector<uint8_t>(plain.begin(), plain.begin() + 46),
              std::vector<uint8_t>(header.begin(), header.end()));
    EXPECT_EQ(plain.size(), 47u);
}
