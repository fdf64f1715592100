// The test of an archive as it lies on the disk: every other tool's archive of the corpus (and
// one of ours) is sound; a byte changed in an entry's data, a local header or the directory, an
// archive cut short, a wrong CRC-32, a method that cannot be read and a missing or wrong
// password each name the entry at fault, or say why the archive cannot be read at all. The
// extraction of an entry gives its bytes, and refuses damaged data.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "archiver/archive_fixtures.h"
#include "archiver/read/archive_test.h"
#include "archiver/read/entry_extract.h"
#include "archiver/vorbex.h"
#include "archiver/write/dir_manager.h"
#include "core/paths.h"
#include "core/streams.h"
#include "support/files.h"
#include "support/test_data.h"

using namespace archive_fixtures;

namespace {

TArchiveTest TestFile(const std::string& path, const std::string& password = "") {
    TFileStream file(path, static_cast<uint16_t>(fmOpenRead | fmShareDenyWrite));
    TArchiveTestOptions options;
    options.Password = password;
    return TestArchive(file, options);
}

TMemoryStream StreamOf(const std::vector<uint8_t>& bytes) {
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return stream;
}

// Where one entry's records lie in an archive's bytes.
struct TLayout {
    size_t Local = 0, Data = 0, Central = 0;
    uint64_t DataSize = 0;
};

TLayout LayoutOf(const std::vector<uint8_t>& bytes, const std::string& name) {
    TMemoryStream stream = StreamOf(bytes);
    TVXDirManager dir(stream, nullptr);
    TLayout layout;
    size_t central = static_cast<size_t>(dir.CentralDirPosition());
    for (int i = 0; i < dir.Items.Count(); ++i) {
        const TDirItem& item = *dir.Items.ItemPtr(i);
        if (item.StoredName == name) {
            layout.Local = static_cast<size_t>(item.LocalHeaderOffset + dir.StartOffset);
            layout.Data = layout.Local + 30 + U16At(bytes, layout.Local + 26) + U16At(bytes, layout.Local + 28);
            layout.Central = central;
            layout.DataSize = item.CompressedSize;
            return layout;
        }
        central += 46 + U16At(bytes, central + 28) + U16At(bytes, central + 30) + U16At(bytes, central + 32);
    }
    ADD_FAILURE() << "no entry " << name;
    return layout;
}

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}

// An archive of ours: a deflated and a stored entry, and one with a password.
std::string OurArchive() {
    const std::string folder = ScratchFolder("archive_test_ours");
    support::WriteBytes(JoinPath(folder, "text.txt"), support::TextBytes(300000));
    support::WriteBytes(JoinPath(folder, "noise.bin"), support::NoiseBytes(70000));
    const std::string path = JoinPath(folder, "ours.zip");
    TVorbex v(nullptr);
    v.SetFileName(path);
    v.Open(fmCreate);
    v.SetBaseDir(folder);
    v.AddMatchingFiles("*.txt", 63, "");
    v.SetCompressionMode(0);
    v.AddMatchingFiles("*.bin", 63, "");
    v.Close();
    return path;
}

}  // namespace

TEST(ArchiveTest, EveryToolsArchiveIsSound) {
    const struct {
        std::string Path;
        const char* Password;
        size_t Entries;
    } cases[] = {
        {CorpusPath("infozip.zip"), "", 3},         {CorpusPath("infozip_stored.zip"), "", 3},
        {CorpusPath("infozip_crypt.zip"), "tajna", 3}, {CorpusPath("sevenzip.zip"), "", 3},
        {CorpusPath("sevenzip_crypt.zip"), "tajna", 3}, {CorpusPath("bsdtar.zip"), "", 3},
        {CorpusPath("python.zip"), "", 3},          {CorpusPath("prefix100.zip"), "", 3},
        {CorpusPath("wide_prefixed.zip"), "", 1},   {CorpusPath("inner_last.zip"), "", 2},
        {CorpusPath("empty_commented.zip"), "", 0}, {CorpusPath("many.zip"), "", 65546},
        {CorpusPath("restore_zip1.zip"), "", 1},    {CorpusPath("restore_7z.zip"), "", 1},
        {CorpusPath("restore_python.zip"), "", 1},  {OurArchive(), "", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path);
        const TArchiveTest test = TestFile(c.Path, c.Password);
        EXPECT_EQ(test.Problem, "");
        EXPECT_EQ(test.Entries.size(), c.Entries);
        for (const TTestedEntry& entry : test.Entries) EXPECT_EQ(entry.Problem, "") << entry.Name;
        EXPECT_TRUE(test.Sound());
    }
}

TEST(ArchiveTest, NamesTheEntryAtFaultOrWhyTheArchiveCannotBeRead) {
    using TDamage = std::function<void(std::vector<uint8_t>&)>;
    auto at = [](const char* entry, std::function<size_t(const TLayout&)> where) -> TDamage {
        return [entry, where](std::vector<uint8_t>& b) { b.at(where(LayoutOf(b, entry))) ^= 0xFF; };
    };
    const struct {
        const char* What;
        const char* Archive;
        const char* Password;
        TDamage Damage;
        const char* Entry;  // "": the archive as a whole
        const char* Problem;
    } cases[] = {
        {"a byte of deflate data", "infozip.zip", "", at("beta.bin", [](const TLayout& l) { return l.Data + 20; }),
         "beta.bin", "beta.bin"},
        {"a byte of stored data", "infozip_stored.zip", "",
         at("alpha.txt", [](const TLayout& l) { return l.Data + 100; }), "alpha.txt", "CRC-32"},
        {"the local header's time", "sevenzip.zip", "", at("beta.bin", [](const TLayout& l) { return l.Local + 10; }),
         "beta.bin", "local header"},
        {"the local header's signature", "python.zip", "",
         at("first.txt", [](const TLayout& l) { return l.Local; }), "first.txt", "no signature"},
        {"the central header's CRC-32", "infozip.zip", "",
         at("sub/gamma.txt", [](const TLayout& l) { return l.Central + 16; }), "sub/gamma.txt", "sub/gamma.txt"},
        {"the central header's signature", "bsdtar.zip", "",
         at("alpha.txt", [](const TLayout& l) { return l.Central; }), "", "central header 0 has no signature"},
        {"the end record's signature", "infozip.zip", "",
         [](std::vector<uint8_t>& b) {
             const std::string bytes(b.begin(), b.end());
             b.at(bytes.rfind("PK\x05\x06")) ^= 0xFF;
         },
         "", "no end of central directory"},
        {"cut in half", "sevenzip.zip", "", [](std::vector<uint8_t>& b) { b.resize(b.size() / 2); }, "",
         "no end of central directory"},
        {"cut in the comment", "infozip.zip", "", [](std::vector<uint8_t>& b) { b.resize(b.size() - 5); }, "",
         "comment"},
        {"a wrong CRC-32 in both headers", "infozip.zip", "",
         [](std::vector<uint8_t>& b) {
             const TLayout l = LayoutOf(b, "beta.bin");
             Put32(b, l.Local + 14, 0x12345678);
             Put32(b, l.Central + 16, 0x12345678);
         },
         "beta.bin", "CRC-32"},
        {"method 12 in both headers", "python.zip", "",
         [](std::vector<uint8_t>& b) {
             const TLayout l = LayoutOf(b, "first.txt");
             b.at(l.Local + 8) = 12;
             b.at(l.Central + 10) = 12;
         },
         "first.txt", "method 12 cannot be read"},
        {"no password", "sevenzip_crypt.zip", "", [](std::vector<uint8_t>&) {}, "beta.bin", "no password"},
        {"a wrong password", "infozip_crypt.zip", "falsa", [](std::vector<uint8_t>&) {}, "alpha.txt", "password"},
        {"not an archive", "not_a_zip.bin", "", [](std::vector<uint8_t>&) {}, "", "not a ZIP archive"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        std::vector<uint8_t> bytes = ReadFileBytes(CorpusPath(c.Archive));
        c.Damage(bytes);
        TMemoryStream stream = StreamOf(bytes);
        TArchiveTestOptions options;
        options.Password = c.Password;
        const TArchiveTest test = TestArchive(stream, options);
        EXPECT_FALSE(test.Sound());
        if (*c.Entry == 0) {
            EXPECT_NE(test.Problem.find(c.Problem), std::string::npos) << test.Problem;
            EXPECT_TRUE(test.Entries.empty());
            continue;
        }
        EXPECT_EQ(test.Problem, "");
        bool named = false;
        for (const TTestedEntry& entry : test.Entries) {
            if (entry.Name != c.Entry) continue;
            named = true;
            EXPECT_NE(entry.Problem.find(c.Problem), std::string::npos) << entry.Problem;
        }
        EXPECT_TRUE(named) << "no entry " << c.Entry;
    }
}

TEST(ArchiveTest, AStopEndsTheTestUnsound) {
    TFileStream file(CorpusPath("restore_zip1.zip"), static_cast<uint16_t>(fmOpenRead | fmShareDenyWrite));
    TArchiveTestOptions options;
    options.BeforePiece = [](int64_t, int64_t total) {
        EXPECT_EQ(total, 700000);
        return true;
    };
    const TArchiveTest test = TestArchive(file, options);
    EXPECT_TRUE(test.Stopped);
    EXPECT_FALSE(test.Sound());
}

TEST(EntryExtract, GivesTheEntrysBytesAndRefusesDamagedData) {
    const std::vector<uint8_t> database = ReadFileBytes(CorpusPath("restore_G2024.fdb"));
    for (const char* name : {"restore_zip1.zip", "restore_7z.zip", "restore_python.zip"}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes = ReadFileBytes(CorpusPath(name));
        TMemoryStream archive = StreamOf(bytes), out;
        EXPECT_TRUE(ExtractEntry(archive, "BRODANIKVESTRA_G2024.fdb", out, nullptr));
        EXPECT_TRUE(out.Data() == database);

        bytes.at(LayoutOf(bytes, "BRODANIKVESTRA_G2024.fdb").Data + 50000) ^= 0x01;
        TMemoryStream damaged = StreamOf(bytes), rest;
        EXPECT_THROW(ExtractEntry(damaged, "BRODANIKVESTRA_G2024.fdb", rest, nullptr), EVXException);
        TMemoryStream none;
        EXPECT_THROW(ExtractEntry(archive, "BRODANIKVESTRA_G2025.fdb", none, nullptr), EVXException);
    }
}
