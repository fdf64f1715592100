#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "archiver/data_fixtures.h"
#include "archiver/vorbex.h"
#include "archiver/zip/records.h"
#include "core/paths.h"
#include "core/text.h"
#include "support/files.h"
#include "support/test_data.h"

namespace {

using Names = std::multiset<std::string>;

// The file selection with several masks in one batch, which AddMatchingFiles (one mask) cannot ask.
class TSelectingVorbex : public TVorbex {
public:
    using TVorbex::TVorbex;
    using TVXBaseArchiver::AddFilesInternal;
};

std::vector<std::string> StoredNames(const TVorbex& archiver) {
    std::vector<std::string> names;
    const TVXDirArray& items = archiver.Directory()->Items;
    for (int i = 0; i < items.Count(); ++i) names.push_back(items.ItemPtr(i)->StoredName);
    return names;
}

const TDirItem* FindItem(const TVorbex& archiver, const std::string& name) {
    const TVXDirArray& items = archiver.Directory()->Items;
    for (int i = 0; i < items.Count(); ++i)
        if (items.ItemPtr(i)->StoredName == name) return items.ItemPtr(i);
    return nullptr;
}

// base: a.txt b.dat noext .dotted.txt hid.txt (hidden) sys.txt (system) emptydir
//       sub: c.txt, deeper: d.txt
class Selection : public ::testing::Test {
protected:
    void SetUp() override {
        base = fixtures::TestFolder("selection") + "\\base";
        ForceDirectories(base);
        for (const char* name : {"a.txt", "b.dat", "noext", ".dotted.txt", "hid.txt", "sys.txt"})
            support::WriteBytes(base + "\\" + name, support::TextBytes(3000, name[0]));
        SetFileAttributesA((base + "\\hid.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA((base + "\\sys.txt").c_str(), FILE_ATTRIBUTE_SYSTEM);
        ForceDirectories(base + "\\emptydir");
        ForceDirectories(base + "\\sub");
        ForceDirectories(base + "\\sub\\deeper");
        support::WriteBytes(base + "\\sub\\c.txt", support::TextBytes(2000, 9));
        support::WriteBytes(base + "\\sub\\deeper\\d.txt", support::TextBytes(1000, 11));
        archiver.SetName("Vorbex1");
    }
    void TearDown() override {
        if (archiver.Active()) archiver.Close();
        SetFileAttributesA((base + "\\hid.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesA((base + "\\sys.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    void OpenInMemory() {
        archiver.SetInMemory(true);
        archiver.Open(fmCreate);
        archiver.SetBaseDir(base);
    }
    std::string base;
    TSelectingVorbex archiver{nullptr};
};

}  // namespace

TEST_F(Selection, MasksAttributesAndRecursion) {
    struct Case {
        std::string mask;
        uint16_t attributes;
        bool recurse;
        std::string exclusion;
        Names names;
    } const cases[] = {
        {"*.*", 63, true, "", {"a.txt", "b.dat", "noext", "hid.txt", "sys.txt", "emptydir/", "sub/"}},
        {"*.*", 39, true, "", {"a.txt", "b.dat", "noext", "hid.txt", "sys.txt"}},
        {"*.*", 35, true, "", {"a.txt", "b.dat", "noext", "hid.txt"}},
        {"*.*", 33, true, "", {"a.txt", "b.dat", "noext"}},
        {"*.txt", 63, true, "a*", {"hid.txt", "sys.txt"}},
        {"sub\\*.*", 63, true, "", {"sub/c.txt", "sub/deeper/"}},
        {"sub\\*.*", 39, true, "", {}},
        {"sub\\deeper\\*.txt", 63, true, "", {"sub/deeper/d.txt"}},
        {"sub\\deeper\\*.txt", 63, false, "", {}},
        {base + "\\..\\*.*", 63, true, "", {}},  // outside the tree below BaseDir
        {"", 63, true, "", {}},
    };
    for (const Case& c : cases) {
        OpenInMemory();
        archiver.Options()->SetRecurse(c.recurse);
        archiver.AddMatchingFiles(c.mask, c.attributes, c.exclusion);
        const std::vector<std::string> names = StoredNames(archiver);
        EXPECT_EQ(Names(names.begin(), names.end()), c.names) << c.mask << " attr " << c.attributes;
        archiver.Close();
    }
}

TEST_F(Selection, FolderItemsFollowTheirContents) {
    OpenInMemory();
    archiver.SetPassword("pw");
    TStringList masks, exclusions;
    masks.SetItems({"sub\\*.*", "sub\\deeper\\*.*"});
    exclusions.Add("");
    archiver.BeginUpdate();
    archiver.AddFilesInternal(masks, faAnyFile, poAdd, exclusions);
    archiver.EndUpdate();
    const std::vector<std::string> names = StoredNames(archiver);
    const auto file = std::find(names.begin(), names.end(), "sub/deeper/d.txt");
    const auto folder = std::find(names.begin(), names.end(), "sub/deeper/");
    ASSERT_NE(file, names.end());
    ASSERT_NE(folder, names.end());
    EXPECT_LT(file, folder);
    const TDirItem& item = *FindItem(archiver, "sub/deeper/");
    EXPECT_EQ(item.Crc32, 0u);
    EXPECT_EQ(item.CompressedSize, 0u);
    EXPECT_EQ(item.UncompressedSize, 0u);
    EXPECT_EQ(item.Method, 0) << "folders are stored: readers refuse deflated entries without data";
    EXPECT_NE(item.ExternalAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(item.Date, 0);
    EXPECT_EQ(item.Flags, 0) << "a folder has no data to encrypt";
    EXPECT_EQ(FindItem(archiver, "sub/deeper/d.txt")->Flags, kFlagEncrypted);
}

TEST_F(Selection, ConfirmAndNoCompressionMasks) {
    OpenInMemory();
    archiver.OnConfirmProcessFile = [&](TObject*, const std::string& path, TVXProcessOperation op, bool& confirm) {
        EXPECT_EQ(op, poAdd);
        confirm = path != base + "\\b.dat";
    };
    archiver.NoCompressionMasks()->Add("*.txt");
    archiver.AddMatchingFiles("*.*", 33, "");
    EXPECT_EQ(FindItem(archiver, "b.dat"), nullptr);
    const TDirItem* text = FindItem(archiver, "a.txt");
    const TDirItem* other = FindItem(archiver, "noext");
    ASSERT_TRUE(text && other);
    EXPECT_EQ(text->EntryCompressionMode, 0);
    EXPECT_EQ(text->Method, 8) << "level 0 deflate, not stored";
    EXPECT_GT(text->CompressedSize, text->UncompressedSize);
    EXPECT_EQ(other->EntryCompressionMode, 1);
    EXPECT_LT(other->CompressedSize, other->UncompressedSize);
}

TEST_F(Selection, ProgressPercentages) {
    support::WriteBytes(base + "\\sub\\big1.bin", support::TextBytes(1000000, 1));
    support::WriteBytes(base + "\\sub\\big2.bin", support::TextBytes(1000000, 2));
    OpenInMemory();
    std::vector<std::string> log;
    archiver.OnFileProgress = [&](TObject* sender, const std::string& name, double p, TVXProcessOperation,
                                  TVXProgressPhase phase, bool&) {
        EXPECT_EQ(sender, &archiver);
        const bool source = name.find('\\') != std::string::npos;
        log.push_back(Format("file%d %s %.4f", phase, source ? "path" : "stored", p));
    };
    archiver.OnOverallProgress = [&](TObject*, double p, TVXProcessOperation, TVXProgressPhase phase, bool&) {
        log.push_back(Format("all%d %.4f", phase, p));
    };
    archiver.AddMatchingFiles("sub\\*.bin", faAnyFile, "");
    const std::vector<std::string> expected = {
        "all0 0.0000",
        "file0 path 0.0000", "file1 stored 0.0000", "all1 0.0000", "file1 stored 52.4288", "all1 26.2144",
        "file2 path 100.0000",
        "file0 path 0.0000", "file1 stored 0.0000", "all1 50.0000", "file1 stored 52.4288", "all1 76.2144",
        "file2 path 100.0000",
        "all2 100.0000"};
    EXPECT_EQ(log, expected);
}

TEST_F(Selection, CancelWhileDataFlowsStopsTheCommit) {
    support::WriteBytes(base + "\\sub\\big1.bin", support::TextBytes(1000000, 1));
    const std::string zip = fixtures::TestRoot() + "\\cancelled.zip";
    archiver.SetFileName(zip);
    archiver.Open(fmCreate);
    archiver.SetBaseDir(base);
    // Only the overall handler stops; without a file progress handler the entry's end report
    // must not clear the request and let a half-written entry through.
    archiver.OnOverallProgress = [&](TObject*, double p, TVXProcessOperation, TVXProgressPhase phase, bool& cancel) {
        cancel = phase == ppProcess && p > 10;
    };
    archiver.AddMatchingFiles("sub\\*.*", faAnyFile, "");
    for (const std::string& name : StoredNames(archiver)) {
        const TDirItem* item = FindItem(archiver, name);
        EXPECT_NE(item->Crc32, 0xFFFFFFFFu) << name << " kept without its data";
    }
    archiver.Close();
    fixtures::ExpectEntries(zip, {});
}

TEST_F(Selection, SourceShareModes) {
    support::WriteBytes(base + "\\sub\\big1.bin", support::TextBytes(1000000, 1));
    const std::string source = base + "\\sub\\big1.bin";
    struct Case {
        TVXFileShareMode mode;
        bool othersMayRead;
    } const cases[] = {{smShareCompat, false},
                       {smShareExclusive, false},
                       {smShareDenyWrite, true},
                       {smShareDenyRead, false},
                       {smShareDenyNone, true}};
    for (const Case& c : cases) {
        OpenInMemory();
        archiver.Options()->SetShareMode(c.mode);
        int probes = 0;
        archiver.OnFileProgress = [&](TObject*, const std::string&, double, TVXProcessOperation,
                                      TVXProgressPhase phase, bool&) {
            if (phase != ppProcess) return;
            HANDLE h = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
            EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.othersMayRead) << "share mode " << c.mode;
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
            ++probes;
        };
        archiver.AddMatchingFiles("sub\\big1.bin", faAnyFile, "");
        EXPECT_EQ(probes, 2);
        archiver.Close();
    }
}

TEST_F(Selection, LockedSourceFailsTheBatch) {
    const std::string zip = fixtures::TestRoot() + "\\locked.zip";
    archiver.SetFileName(zip);
    archiver.Open(fmCreate);
    archiver.SetBaseDir(base);
    HANDLE lock = CreateFileA((base + "\\a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_THROW(archiver.AddMatchingFiles("a.txt", faAnyFile, ""), EFOpenError);
    CloseHandle(lock);
    EXPECT_TRUE(StoredNames(archiver).empty());
    archiver.Close();
    fixtures::ExpectEntries(zip, {});
}

TEST_F(Selection, TheArchiveItselfIsNeverSelected) {
    // An archive inside the folder it packs matches the masks like any other file; it cannot be
    // read while it is written (or, shared, would be read while it grows).
    const std::string zip = base + "\\own.zip";
    for (TVXFileShareMode mode : {smShareCompat, smShareDenyNone}) {
        SCOPED_TRACE(mode);
        DeleteFileA(zip.c_str());
        archiver.Options()->SetShareMode(mode);
        archiver.SetFileName(zip);
        archiver.Open(fmCreate);
        archiver.SetBaseDir(base);
        archiver.AddMatchingFiles("*.*", 33, "");
        archiver.Close();
        // Appending opens it shared for reading.
        archiver.OpenDefault();
        archiver.AddMatchingFiles("*.*", 33, "");
        const std::vector<std::string> names = StoredNames(archiver);
        EXPECT_EQ(Names(names.begin(), names.end()), (Names{"a.txt", "a.txt", "b.dat", "b.dat", "noext", "noext"}));
        archiver.Close();
    }
}

// Archives written to disk for the readers' check, one per kind of entry.
TEST_F(Selection, ArchivesForTheReaders) {
    struct Case {
        const char* file;
        int mode;
        const char* password;
        const char* mask;
        uint16_t method;
    } const cases[] = {
        {"stored.zip", 0, "", "*.*", 0},     {"fastest.zip", 1, "", "*.*", 8}, {"normal.zip", 6, "", "*.*", 8},
        {"best.zip", 9, "", "sub\\*.*", 8}, {"encrypted.zip", 1, "Lozinka1", "*.*", 8},
        {"encrypted_stored.zip", 0, "Lozinka1", "*.*", 0},
    };
    support::WriteBytes(base + "\\empty.txt", "");
    support::WriteBytes(base + "\\chunks.bin", support::TextBytes(524288 * 2 + 1, 4) + support::NoiseBytes(70000));
    // Around the chunk sizes, where the threads that deflate one entry hand over to each other.
    for (int64_t size : {524287, 524288, 524289, 3 * 524288, 1048577})
        support::WriteBytes(base + "\\edge" + std::to_string(size) + ".bin",
                             support::TextBytes(static_cast<size_t>(size), static_cast<uint32_t>(size)));
    for (const Case& c : cases) {
        const std::string zip = fixtures::TestRoot() + "\\" + c.file;
        archiver.SetInMemory(false);
        archiver.SetFileName(zip);
        archiver.SetCompressionMode(c.mode);
        archiver.SetPassword(c.password);
        archiver.Open(fmCreate);
        archiver.SetBaseDir(base);
        archiver.AddMatchingFiles(c.mask, faAnyFile, "");
        std::vector<std::pair<std::string, std::string>> expected;
        const TVXDirArray& items = archiver.Directory()->Items;
        for (int i = 0; i < items.Count(); ++i) {
            const TDirItem& item = *items.ItemPtr(i);
            const bool folder = item.StoredName.back() == '/';
            if (!folder) {
                EXPECT_EQ(item.Method, c.method) << c.file << " " << item.StoredName;
            }
            expected.emplace_back(item.StoredName, folder ? "" : item.SourcePath);
        }
        EXPECT_GE(expected.size(), 2u) << c.file;
        archiver.Close();
        fixtures::ExpectEntries(zip, expected, c.password);
    }
}

TEST(BackupArchive, OneDeflatedFileIsDataPlus146Bytes) {
    const std::string staging = fixtures::TestFolder("staging");
    const std::string source = staging + "\\BRODANIKVESTRA_G2024.fdb";
    support::WriteBytes(source, support::TextBytes(1300000, 24) + std::string(300000, '\0'));
    const std::string zip = fixtures::TestRoot() + "\\BRODANIKVESTRA_G2024_05_03_2024.zip";
    TVorbex archiver(nullptr);
    archiver.SetName("Vorbex1");
    archiver.SetFileName(zip);
    archiver.Open(fmCreate);
    archiver.SetBaseDir(staging + "\\");
    archiver.AddMatchingFiles(source, faAnyFile, "");
    ASSERT_EQ(StoredNames(archiver), std::vector<std::string>{"BRODANIKVESTRA_G2024.fdb"});
    const TDirItem& item = *archiver.Directory()->Items.ItemPtr(0);
    const uint64_t compressed = item.CompressedSize;
    EXPECT_EQ(item.ExternalAttributes, static_cast<uint32_t>(GetFileAttributesA(source.c_str())));
    archiver.Close();
    const std::string bytes = support::ReadBytes(zip);
    EXPECT_EQ(bytes.size(), compressed + 146);
    EXPECT_EQ(bytes.substr(0, 4), "PK\x03\x04");
    EXPECT_EQ(bytes.substr(30, 24), "BRODANIKVESTRA_G2024.fdb");
    EXPECT_EQ(bytes.substr(bytes.size() - 22, 4), "PK\x05\x06");
    fixtures::ExpectEntries(zip, {{"BRODANIKVESTRA_G2024.fdb", source}});
}
