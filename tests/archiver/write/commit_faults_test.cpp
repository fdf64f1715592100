// The commit when the disk fails it: an append leaves, after every single write, a file that
// opens with the old entries, and returns to the old bytes when a write fails; a rollback that
// fails in turn says so and leaves the temporary copy it names.
#include <gtest/gtest.h>

#include <algorithm>

#include "archiver/archive_fixtures.h"
#include "archiver/write/archive_files.h"
#include "archiver/write/commit.h"
#include "archiver/zip/entry_codec.h"
#include "archiver/zip/records.h"
#include "support/files.h"
#include "support/test_data.h"

using namespace archive_fixtures;

namespace {

// An archive in memory whose writes (and cuts) fail from a chosen one on, as on a full disk. What
// the archive held before each of them is kept: the file a power cut at that moment leaves.
class TFailingArchive : public TStream {
public:
    // Writes from failFrom to failUntil fail (-1: none, or no end); the files before writes from
    // keepFrom on are kept.
    explicit TFailingArchive(const std::vector<uint8_t>& bytes, int failFrom = -1, int failUntil = -1,
                             int keepFrom = 0)
        : failFrom_(failFrom), failUntil_(failUntil), keepFrom_(keepFrom) {
        bytes_.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        bytes_.SetPosition(0);
    }

    int64_t Read(void* buffer, int64_t count) override { return bytes_.Read(buffer, count); }
    int64_t Write(const void* buffer, int64_t count) override {
        if (!Change()) return 0;
        return bytes_.Write(buffer, count);
    }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override { return bytes_.Seek(offset, origin); }
    void SetSize(int64_t newSize) override {
        if (!Change()) throw EWriteError("Stream write error");
        bytes_.SetSize(newSize);
    }

    const std::vector<uint8_t>& Bytes() const { return bytes_.Data(); }
    // The archive before each write or cut, in order (empty before those ahead of keepFrom).
    std::vector<std::vector<uint8_t>> Before;

private:
    bool Change() {
        const int n = static_cast<int>(Before.size());
        Before.push_back(n >= keepFrom_ ? bytes_.Data() : std::vector<uint8_t>());
        return n < failFrom_ || failFrom_ < 0 || (failUntil_ >= 0 && n > failUntil_);
    }

    TMemoryStream bytes_;
    int failFrom_;
    int failUntil_;
    int keepFrom_;
};

// The component's side of a commit, with nothing assigned: no reports, no data step switched off,
// nothing read back.
class TQuietHost : public TWriteHost {
public:
    explicit TQuietHost(std::string tempFolder) : tempFolder_(std::move(tempFolder)) {}
    TWriteSettings WriteSettings() const override {
        TWriteSettings settings;
        settings.DataStepOn = true;
        settings.ShareModeFlags = fmShareDenyNone;
        settings.Workers = 1;
        return settings;
    }
    TProgressState& Progress() override { return progress_; }
    void UpdateCompressionMethod() override {}
    std::string MakeTempFileName() override { return CreateUniqueTempFile(tempFolder_, "FC"); }
    void FireFileProgress(const std::string&, double, TVXProcessOperation, TVXProgressPhase) override {}
    void FireOverallProgress(double, TVXProcessOperation, TVXProgressPhase) override {}
    bool FireProcessFileFailure(const std::string&, TVXProcessOperation, const EVXException&) override { return false; }

private:
    std::string tempFolder_;
    TProgressState progress_;
};

void AppendItem(TVXDirArray& items, const std::string& name, const std::string& data) {
    items.SetCount(items.Count() + 1);
    TDirItem& item = *items.ItemPtr(items.Count() - 1);
    item.StoredName = name;
    item.Pending = 1;
    item.EntryCompressionMode = 1;
    item.Method = 8;
    item.VersionMadeBy = item.VersionNeeded = kVersionDefault;
    auto* source = new TMemoryStream;
    source->WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    item.SourceStream = source;
    item.OwnsSourceStream = true;
}

std::vector<std::string> NamesIn(const std::vector<uint8_t>& bytes) {
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    TVXDirManager d(s, nullptr);
    std::vector<std::string> names;
    for (int i = 0; i < d.Items.Count(); ++i) names.push_back(WrittenName(*d.Items.ItemPtr(i)));
    return names;
}

constexpr int kTiny = 30;
std::string TinyName(int i) { return "tiny" + std::to_string(i) + ".txt"; }

}  // namespace

TEST(CommitFaults, EveryFileAnAppendLeavesOpensWithTheOldEntries) {
    // More new data than the 64 KiB in which readers look for the end record.
    const std::string noise = support::NoiseBytes(300000, 7);
    for (const char* file : {"python.zip", "prefix100.zip", "empty_commented.zip"}) {
        const std::vector<uint8_t> original = ReadFileBytes(CorpusPath(file));
        const std::vector<std::string> oldNames = NamesIn(original);
        const std::string temp = ScratchFolder(std::string("append_faults_") + file);
        // failing -1: the run without failure; then one run with each of its writes failing.
        size_t writes = 0;
        for (int failing = -1; failing < static_cast<int>(writes); ++failing) {
            SCOPED_TRACE(std::string(file) + ", write " + std::to_string(failing) + " fails");
            TFailingArchive archive(original, failing, failing, std::max(failing, 0));
            TVXDirManager dir(archive, nullptr);
            AppendItem(dir.Items, "noise.bin", noise);
            AppendItem(dir.Items, "small.txt", "a small entry after the large one");
            // Enough small ones that the new directory outgrows the room kept behind the last
            // entry: the old directory's copy moves once more before it is written.
            for (int i = 0; i < kTiny; ++i) AppendItem(dir.Items, TinyName(i), "tiny");
            TQuietHost host(temp);
            if (failing < 0) {
                TVXCommit(dir, archive, host, nullptr).Run();
            } else {
                EXPECT_THROW(TVXCommit(dir, archive, host, nullptr).Run(), EWriteError);
                EXPECT_EQ(archive.Bytes(), original);
                EXPECT_EQ(support::CountFiles(temp), 0);
            }
            // The file as a power cut before each write leaves it, up to the cut that completes
            // the append; with a failure, from the failing write on (the rollback's writes).
            const size_t last = failing < 0 ? archive.Before.size() - 1 : archive.Before.size();
            for (size_t k = std::max(failing, 0); k < last; ++k)
                ASSERT_EQ(NamesIn(archive.Before[k]), oldNames) << "the file before write " << k;
            if (failing >= 0) continue;

            writes = archive.Before.size();
            std::vector<std::string> newNames = oldNames;
            newNames.push_back("noise.bin");
            newNames.push_back("small.txt");
            for (int i = 0; i < kTiny; ++i) newNames.push_back(TinyName(i));
            EXPECT_EQ(NamesIn(archive.Bytes()), newNames);
            const std::string result = ResultPath(std::string("append_after_faults_") + file);
            WriteFileBytes(result, archive.Bytes());
            WriteExpectedNames(result, newNames);
            // The real readers see the middle of the append, and the file just before the cut, as
            // the old archive (Info-ZIP refuses an archive without entries whose directory does
            // not start at 0, so only those with entries go to them).
            if (oldNames.empty()) continue;
            const std::string middle = ResultPath(std::string("append_middle_") + file);
            WriteFileBytes(middle, archive.Before[writes / 2]);
            WriteExpectedNames(middle, oldNames);
            const std::string beforeCut = ResultPath(std::string("append_before_cut_") + file);
            WriteFileBytes(beforeCut, archive.Before.back());
            WriteExpectedNames(beforeCut, oldNames);
        }
        EXPECT_GT(writes, 60u) << file;
    }
}

TEST(CommitFaults, ARollbackThatFailsNamesTheTemporaryCopyItLeaves) {
    const std::vector<uint8_t> original = ReadFileBytes(CorpusPath("infozip.zip"));
    const std::string temp = ScratchFolder("failed_rollback");
    // The cut succeeds; every write after it fails, the restoring ones included.
    TFailingArchive archive(original, 1);
    TVXDirManager dir(archive, nullptr);
    // A changed entry in the middle: the commit keeps the tail in a temporary copy and cuts.
    TDirItem& first = *dir.Items.ItemPtr(0);
    first.Pending = 1;
    first.Operation = poChangeAttr;
    TQuietHost host(temp);
    try {
        TVXCommit(dir, archive, host, nullptr).Run();
        FAIL() << "commit succeeded";
    } catch (const EVXException& e) {
        EXPECT_EQ(e.NativeError, vxerr::RollbackFailed);
        const std::string message = e.Message();
        EXPECT_NE(message.find("the commit failed (Stream write error) and so did its rollback (Stream write error)"),
                  std::string::npos) << message;
        EXPECT_NE(message.find("the archive may be damaged"), std::string::npos) << message;
        const size_t quote = message.find('"');
        ASSERT_NE(quote, std::string::npos) << message;
        const std::string kept = message.substr(quote + 1, message.find('"', quote + 1) - quote - 1);
        EXPECT_EQ(kept.rfind(temp, 0), 0u) << kept;
        // The copy holds the old archive from the cut, the first entry, on.
        const std::vector<uint8_t> tail = ReadFileBytes(kept);
        const size_t cut = dir.Snapshot.ItemPtr(0)->LocalHeaderOffset;
        EXPECT_EQ(tail, std::vector<uint8_t>(original.begin() + static_cast<std::ptrdiff_t>(cut), original.end()));
    }
}
