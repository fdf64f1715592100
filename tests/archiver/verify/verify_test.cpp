// Reading back what a commit wrote: clean archives of every mode pass (and are left for the real
// readers); a byte changed between writing and reading back, in any part of the archive, fails
// the commit with code 33 and leaves the archive as it was; a stop while reading back rolls back
// as well; without Verify nothing is read back and the bytes written are the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "archiver/archive_fixtures.h"
#include "archiver/data_fixtures.h"
#include "archiver/vorbex.h"
#include "archiver/zip/records.h"
#include "core/paths.h"
#include "core/text.h"
#include "support/damage.h"
#include "support/files.h"
#include "support/open_archive.h"
#include "support/test_data.h"

using namespace archive_fixtures;

namespace {

constexpr int64_t kChunk = 524288;  // mode 1's
// Three chunks and a bit at mode 1: two of text, then noise that deflate keeps in stored blocks.
const std::string kBig = support::TextBytes(2 * kChunk, 3) + support::NoiseBytes(kChunk + 12345, 4);

// An empty file, a small one, the big one and a folder (for a folder entry), below the folder
// the archive checker reads.
std::string MakeSources() {
    const std::string folder = fixtures::TestFolder("verify_sources");
    support::WriteBytes(JoinPath(folder, "empty.txt"), "");
    support::WriteBytes(JoinPath(folder, "small.txt"), support::TextBytes(5000, 2));
    support::WriteBytes(JoinPath(folder, "big.fdb"), kBig);
    ForceDirectories(JoinPath(folder, "sub"));
    return folder;
}

const std::string& Sources() {
    static const std::string folder = MakeSources();
    return folder;
}

const TDirItem& Item(const TVorbex& v, const std::string& name) {
    const TVXDirArray& items = v.Directory()->Items;
    for (int i = 0; i < items.Count(); ++i)
        if (items.ItemPtr(i)->StoredName == name) return *items.ItemPtr(i);
    throw std::runtime_error("no entry " + name);
}

// The archive checker is to find every entry with the bytes of its source.
void LeaveForTheReaders(const TVorbex& v, const std::string& archive, const std::string& password = "",
                        const std::string& sources = Sources()) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const std::string& name : ItemNames(v))
        entries.emplace_back(name, name.back() == '/' ? "" : JoinPath(sources, name));
    fixtures::ExpectEntries(archive, entries, password);
}

struct TReport {
    TVXProcessOperation Operation;
    TVXProgressPhase Phase;
    double Progress;
};

// An archive holding small.txt, written and closed; the archiver then opens it again, reads
// back what it commits, and calls the Vorbex1.
class TEarlierArchive {
public:
    explicit TEarlierArchive(const std::string& name)
        : Path(JoinPath(fixtures::TestFolder("verify_" + name), "a.zip")) {
        v.SetName("Vorbex1");
        v.SetVerify(true);
        v.SetFileName(Path);
        v.Open(fmCreate);
        v.SetBaseDir(Sources());
        v.AddMatchingFiles("small.txt", faAnyFile, "");
        v.Close();
        Before = ReadFileBytes(Path);
        v.OpenDefault();
        v.OnOverallProgress = [this](TObject*, double progress, TVXProcessOperation op, TVXProgressPhase phase,
                                     bool& cancel) {
            Reports.push_back({op, phase, progress});
            if (StopAt && StopAt(Reports.back())) cancel = true;
        };
    }

    // Closes the archive and tells whether the file is as it was before.
    bool Unchanged() {
        v.Close();
        return ReadFileBytes(Path) == Before;
    }

    const std::string Path;
    std::vector<uint8_t> Before;
    TVorbex v{nullptr};
    std::vector<TReport> Reports;
    std::function<bool(const TReport&)> StopAt;
};

// Where a test changes a byte: from the big entry's item, where its data begin, where the central
// directory begins and the archive's size.
struct TLayout {
    const TDirItem& Big;
    int64_t DataAt;
    int64_t DirectoryAt;
    int64_t Size;

    // Halfway through chunk k of the big entry's data.
    int64_t InChunk(size_t k) const {
        const std::vector<TDataChunk>& chunks = *Big.Chunks;
        const uint64_t end = k + 1 < chunks.size() ? chunks[k + 1].Data : Big.CompressedSize;
        return DataAt + static_cast<int64_t>((chunks[k].Data + end) / 2);
    }
    int64_t InData() const { return DataAt + static_cast<int64_t>(Big.CompressedSize / 2); }
};

TLayout LayoutOf(const TVorbex& v, TStream& archive) {
    const TDirItem& big = Item(v, "big.fdb");
    uint8_t local[TLocalHeader::Size];
    archive.SetPosition(static_cast<int64_t>(big.LocalHeaderOffset));
    archive.ReadBuffer(local, sizeof local);
    const TLocalHeader h = TLocalHeader::Decode(local);
    return {big, static_cast<int64_t>(big.LocalHeaderOffset + TLocalHeader::Size) + h.NameLength + h.ExtraLength,
            v.Directory()->CentralDirPosition(), archive.Size()};
}

}  // namespace

TEST(Verification, CleanArchivesOfEveryModePass) {
    const std::string out = fixtures::TestFolder("verify_clean");
    const struct {
        int Mode;
        const char* Password;
        size_t BigChunks;  // noted by the data step, read back side by side
    } cases[] = {{0, "", 0}, {1, "", 4}, {6, "", 2}, {9, "", 2}, {1, "tajna", 0}, {0, "tajna", 0}};
    for (const auto& c : cases) {
        const std::string archive = JoinPath(out, Format("mode%d%s.zip", c.Mode, *c.Password ? "_encrypted" : ""));
        SCOPED_TRACE(archive);
        TVorbex v(nullptr);
        v.SetVerify(true);
        v.SetCompressionMode(c.Mode);
        v.SetPassword(c.Password);
        std::vector<TVXProgressPhase> verifying;
        v.OnOverallProgress = [&](TObject*, double, TVXProcessOperation op, TVXProgressPhase phase, bool&) {
            if (op == poTest) verifying.push_back(phase);
        };
        v.SetFileName(archive);
        v.Open(fmCreate);
        v.SetBaseDir(Sources());
        ASSERT_NO_THROW(v.AddMatchingFiles("*", faAnyFile, ""));
        ASSERT_GE(verifying.size(), 3u);
        EXPECT_EQ(verifying.front(), ppStart);
        EXPECT_EQ(verifying.back(), ppEnd);
        const TDirItem& big = Item(v, "big.fdb");
        EXPECT_EQ(big.Chunks ? big.Chunks->size() : 0u, c.BigChunks);
        EXPECT_EQ(v.Directory()->Items.Count(), 4) << "three files and the folder";
        LeaveForTheReaders(v, archive, c.Password);
        v.Close();
    }
}

TEST(Verification, EntriesEndingAtAndAroundChunkBoundariesPass) {
    const std::string folder = fixtures::TestFolder("verify_boundaries");
    const std::string sources = JoinPath(folder, "in");
    ForceDirectories(sources);
    for (int64_t size : {int64_t{1}, kChunk - 1, kChunk, kChunk + 1, 2 * kChunk, 2 * kChunk + 1})
        support::WriteBytes(JoinPath(sources, Format("%lld.bin", static_cast<long long>(size))),
                            support::TextBytes(static_cast<size_t>(size), 7));
    const std::string archive = JoinPath(folder, "a.zip");
    TVorbex v(nullptr);
    v.SetVerify(true);
    v.SetFileName(archive);
    v.Open(fmCreate);
    v.SetBaseDir(sources);
    EXPECT_NO_THROW(v.AddMatchingFiles("*", faAnyFile, ""));
    LeaveForTheReaders(v, archive, "", sources);
    v.Close();
}

TEST(Verification, ReportsItsOwnPhaseByBytesBeforeTheCommitEnds) {
    TEarlierArchive a("reports");
    a.v.AddMatchingFiles("big.fdb", faAnyFile, "");
    std::vector<TReport> verifying;
    size_t firstVerifying = a.Reports.size();
    for (size_t i = 0; i < a.Reports.size(); ++i) {
        if (a.Reports[i].Operation != poTest) continue;
        firstVerifying = std::min(firstVerifying, i);
        verifying.push_back(a.Reports[i]);
    }
    // Written first (start, one report per chunk), then read back, then the commit's own end.
    ASSERT_EQ(firstVerifying, 5u);
    ASSERT_EQ(a.Reports.size(), 5u + verifying.size() + 1);
    EXPECT_EQ(a.Reports.back().Operation, poAdd);
    EXPECT_EQ(a.Reports.back().Phase, ppEnd);
    const double size = static_cast<double>(kBig.size());
    const std::vector<double> expected = {0, 0, kChunk / size * 100, 2 * kChunk / size * 100,
                                          3 * kChunk / size * 100, 100};
    ASSERT_EQ(verifying.size(), expected.size()) << "start, one report per chunk but the last, end";
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(verifying[i].Progress, expected[i], 1e-9) << i;
        EXPECT_EQ(verifying[i].Phase, i == 0 ? ppStart : i + 1 == expected.size() ? ppEnd : ppProcess) << i;
    }
    LeaveForTheReaders(a.v, a.Path);
    a.v.Close();
}

TEST(Verification, AChangedByteAnywhereFailsAndLeavesTheEarlierArchive) {
    using TWhere = std::function<int64_t(const TLayout&)>;
    auto inLocalHeader = [](int64_t at) {
        return [at](const TLayout& l) { return static_cast<int64_t>(l.Big.LocalHeaderOffset) + at; };
    };
    const struct {
        const char* What;
        int Mode;
        const char* Password;
        TWhere Where;
    } cases[] = {
        {"local header CRC", 1, "", inLocalHeader(14)},
        {"local header name", 1, "", inLocalHeader(30)},
        {"local header extra length", 1, "", inLocalHeader(28)},
        {"first chunk", 1, "", [](const TLayout& l) { return l.InChunk(0); }},
        {"middle chunk (stored blocks)", 1, "", [](const TLayout& l) { return l.InChunk(2); }},
        {"last chunk", 1, "", [](const TLayout& l) { return l.InChunk(3); }},
        {"last byte of the data", 1, "",
         [](const TLayout& l) { return l.DataAt + static_cast<int64_t>(l.Big.CompressedSize) - 1; }},
        {"central header CRC", 1, "", [](const TLayout& l) { return l.DirectoryAt + 16; }},
        {"central header name", 1, "", [](const TLayout& l) { return l.DirectoryAt + 46; }},
        {"end record's directory offset", 1, "", [](const TLayout& l) { return l.Size - 6; }},
        {"end record's disk number", 1, "", [](const TLayout& l) { return l.Size - 18; }},
        {"stored data", 0, "", [](const TLayout& l) { return l.InData(); }},
        {"zlib level 6, first chunk", 6, "", [](const TLayout& l) { return l.InChunk(0); }},
        {"zlib level 9, last chunk", 9, "", [](const TLayout& l) { return l.InChunk(1); }},
        {"encrypted deflate data", 1, "tajna", [](const TLayout& l) { return l.InData(); }},
        {"encryption header", 1, "tajna", [](const TLayout& l) { return l.DataAt + 11; }},
        {"encrypted stored data", 0, "tajna", [](const TLayout& l) { return l.InData(); }},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TEarlierArchive a(Format("damage_%d", ++n));
        a.v.SetCompressionMode(c.Mode);
        a.v.SetPassword(c.Password);
        int64_t changedAt = -1;
        a.v.BeforeVerify = [&](TStream& archive) {
            changedAt = c.Where(LayoutOf(a.v, archive));
            support::FlipByte(archive, changedAt);
        };
        try {
            a.v.AddMatchingFiles("big.fdb", faAnyFile, "");
            ADD_FAILURE() << "the changed byte at " << changedAt << " passed";
        } catch (const EVXException& e) {
            EXPECT_EQ(e.NativeError, vxerr::VerificationFailed);
            EXPECT_EQ(e.ErrorCode, 17);
            EXPECT_EQ(e.Message().rfind("Vorbex1: Archive verification failed: ", 0), 0u) << e.Message();
        }
        EXPECT_EQ(ItemNames(a.v), std::vector<std::string>{"small.txt"});
        EXPECT_TRUE(a.Unchanged());

        // Nothing of the failed commit is left in the way of the next one.
        a.v.BeforeVerify = nullptr;
        a.v.OpenDefault();
        EXPECT_NO_THROW(a.v.AddMatchingFiles("big.fdb", faAnyFile, ""));
        LeaveForTheReaders(a.v, a.Path, c.Password);
        a.v.Close();
    }
}

TEST(Verification, AnArchiveCutShortOrGrownFails) {
    for (int64_t change : {-1, -5000, 1}) {
        SCOPED_TRACE(change);
        TEarlierArchive a(Format("length_%lld", static_cast<long long>(change)));
        a.v.BeforeVerify = [&](TStream& archive) { archive.SetSize(archive.Size() + change); };
        EXPECT_THROW(a.v.AddMatchingFiles("big.fdb", faAnyFile, ""), EVXException);
        EXPECT_TRUE(a.Unchanged());
    }
}

TEST(Verification, AStopWhileReadingBackRollsBack) {
    const struct {
        const char* What;
        std::function<bool(const TReport&)> StopAt;
    } cases[] = {
        {"at its start", [](const TReport& r) { return r.Operation == poTest && r.Phase == ppStart; }},
        {"within the data",
         [](const TReport& r) { return r.Operation == poTest && r.Phase == ppProcess && r.Progress > 30; }},
        {"at its end", [](const TReport& r) { return r.Operation == poTest && r.Phase == ppEnd; }},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TEarlierArchive a(Format("stop_%d", ++n));
        a.StopAt = c.StopAt;
        EXPECT_NO_THROW(a.v.AddMatchingFiles("big.fdb", faAnyFile, "")) << "a stop is no failure";
        ASSERT_FALSE(a.Reports.empty());
        EXPECT_TRUE(c.StopAt(a.Reports.back())) << "nothing reported after the stop";
        EXPECT_EQ(ItemNames(a.v), std::vector<std::string>{"small.txt"});
        EXPECT_TRUE(a.Unchanged());
    }
}

TEST(Verification, WithoutVerifyNothingIsReadBackAndTheBytesAreTheSame) {
    const std::string out = fixtures::TestFolder("verify_off");
    std::vector<uint8_t> bytes[2];
    for (int verify = 0; verify < 2; ++verify) {
        const std::string archive = JoinPath(out, verify ? "on.zip" : "off.zip");
        TVorbex v(nullptr);
        EXPECT_FALSE(v.Verify()) << "off unless asked for";
        v.SetVerify(verify == 1);
        int seamCalls = 0;
        v.BeforeVerify = [&](TStream&) { ++seamCalls; };
        bool readBack = false;
        v.OnOverallProgress = [&](TObject*, double, TVXProcessOperation op, TVXProgressPhase, bool&) {
            readBack = readBack || op == poTest;
        };
        v.SetFileName(archive);
        v.Open(fmCreate);
        v.SetBaseDir(Sources());
        v.AddMatchingFiles("*", faAnyFile, "");
        EXPECT_EQ(seamCalls, verify);
        EXPECT_EQ(readBack, verify == 1);
        LeaveForTheReaders(v, archive);
        v.Close();
        bytes[verify] = ReadFileBytes(archive);
    }
    EXPECT_EQ(bytes[0], bytes[1]);
}

TEST(Verification, OtherWritersEntriesPassWhenCopiedBackOrAppendedTo) {
    // Local extra fields longer than the central ones, data descriptors, stored entries, prefixed
    // data, an archive comment, ZIP64 end records (many.zip) and entries encrypted with a
    // password the archiver does not hold.
    const std::string encrypted = JoinPath(ScratchFolder("verify_encrypted"), "e.zip");
    {
        TVorbex v(nullptr);
        v.SetPassword("tajna");
        v.SetFileName(encrypted);
        v.Open(fmCreate);
        v.SetBaseDir(Sources());
        v.AddMatchingFiles("small.txt", faAnyFile, "");
    }
    const std::string files[] = {CorpusPath("infozip.zip"), CorpusPath("sevenzip.zip"), CorpusPath("bsdtar.zip"),
                                 CorpusPath("python.zip"), CorpusPath("prefix100.zip"), CorpusPath("many.zip"),
                                 CorpusPath("infozip_stored.zip"), CorpusPath("empty_commented.zip"), encrypted};
    int n = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        support::TOpenArchive w(ScratchPath(Format("verify_copied_%d", ++n)), file);
        TVorbex& v = w.Open();
        v.SetVerify(true);
        v.BeginUpdate();
        if (v.Directory()->Items.Count() > 0) {
            // The whole archive is copied back behind the changed first entry.
            TDirItem& first = *v.Directory()->Items.ItemPtr(0);
            first.Pending = 1;
            first.Operation = poChangeAttr;
        }
        AppendMemoryItem(v, "added.txt", support::TextBytes(3000));
        EXPECT_NO_THROW(v.EndUpdate());
        EXPECT_EQ(ItemNames(v).back(), "added.txt");
        EXPECT_EQ(support::CountFiles(w.Temp), 0);
    }
}
