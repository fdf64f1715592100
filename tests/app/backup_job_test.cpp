// The backup job without its dialog: what it reports to its observer, and what a stop leaves.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/backup_job.h"
#include "app/backup_texts.h"
#include "archiver/vorbex.h"
#include "core/paths.h"
#include "core/text.h"
#include "support/files.h"
#include "support/test_data.h"

namespace {
using support::Exists;
using support::ReadBytes;
using support::WriteBytes;

const std::string kRoot = "c:\\backup_job_test";
const std::string kProgramFolder = kRoot + "\\prog\\";
const std::string kTarget = kRoot + "\\arhiva";
const std::string kDatabase = kProgramFolder + "BRODANIKVESTRA_G2024.fdb";
const std::string kStaging = std::string(kStagingFolder) + "BRODANIKVESTRA_G2024.fdb";
const std::string kArchive = kTarget + "\\BRODANIKVESTRA_G2024_05_03_2024.zip";

struct Report {
    TBackupPhase Phase;
    uint64_t Done, Total;
};

// Records every report; asks to stop at the n-th report of a phase.
class RecordingObserver : public TBackupObserver {
public:
    bool Progress(TBackupPhase phase, uint64_t done, uint64_t total) override {
        Reports.push_back({phase, done, total});
        return phase == StopPhase && ++seen_ == StopAt;
    }
    std::vector<Report> Reports;
    TBackupPhase StopPhase = TBackupPhase::Verifying;
    int StopAt = 0;

private:
    int seen_ = 0;
};

class BackupJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        support::FreshFolder(kProgramFolder);
        DeleteFileA(kStaging.c_str());
        archiver.SetCompressionLevel(clFastest);
        archiver.SetCompressionMode(1);
    }
    void TearDown() override {
        support::RemoveTree(kRoot);
        DeleteFileA(kStaging.c_str());
    }

    std::string Run() {
        TBackupJob job(archiver, observer);
        return job.Run({kTarget, kProgramFolder, "2024", EncodeDate(2024, 3, 5)});
    }

    TVorbex archiver{nullptr};
    RecordingObserver observer;
};

}  // namespace

TEST_F(BackupJobTest, ReportsTheCopyAndThePackingByBytes) {
    const std::string data = support::TextBytes((5u << 20) / 2);
    WriteBytes(kDatabase, data);
    EXPECT_EQ(Run(), kArchive);
    const uint64_t size = data.size();

    std::vector<Report> copying, packing;
    for (const Report& r : observer.Reports) {
        EXPECT_EQ(r.Total, size);
        EXPECT_LE(r.Done, r.Total);
        ASSERT_NE(r.Phase, TBackupPhase::Verifying);
        (r.Phase == TBackupPhase::Copying ? copying : packing).push_back(r);
        // Copying first, then packing.
        if (r.Phase == TBackupPhase::Copying) {
            EXPECT_TRUE(packing.empty());
        }
    }
    ASSERT_EQ(copying.size(), 4u);  // the start and one report a MiB
    EXPECT_EQ(copying.front().Done, 0u);
    EXPECT_EQ(copying.back().Done, size);
    ASSERT_GE(packing.size(), 3u);
    EXPECT_EQ(packing.front().Done, 0u);
    EXPECT_EQ(packing.back().Done, size);
    for (size_t i = 1; i < packing.size(); ++i) EXPECT_GE(packing[i].Done, packing[i - 1].Done);
    EXPECT_FALSE(archiver.OnOverallProgress);  // the job's handler is gone with the job
    EXPECT_EQ(ReadBytes(kStaging), data);
}

TEST_F(BackupJobTest, AStopLeavesTheEarlierBackupAndNothingOfItsOwn) {
    struct Case {
        const char* When;
        TBackupPhase Phase;
        int At;
    } cases[] = {
        {"at the start of the copy", TBackupPhase::Copying, 1},
        {"after the first MiB copied", TBackupPhase::Copying, 2},
        {"at the start of the packing", TBackupPhase::Packing, 1},
        {"while packing", TBackupPhase::Packing, 3},
    };
    WriteBytes(kDatabase, "the morning's data");
    Run();
    const std::string earlierArchive = ReadBytes(kArchive);
    const std::string earlierStaging = ReadBytes(kStaging);
    WriteBytes(kDatabase, support::NoiseBytes(3u << 20));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.When);
        observer = RecordingObserver();
        observer.StopPhase = c.Phase;
        observer.StopAt = c.At;
        try {
            Run();
            ADD_FAILURE() << "not stopped";
        } catch (const EBackupCancelled& e) {
            EXPECT_EQ(e.Message(), Format(kCancelledText, kArchive.c_str()));
        }
        // The report that asked was the last.
        EXPECT_EQ(observer.Reports.back().Phase, c.Phase);
        EXPECT_EQ(ReadBytes(kArchive), earlierArchive);
        if (c.Phase == TBackupPhase::Copying) {
            EXPECT_EQ(ReadBytes(kStaging), earlierStaging);
        }
        EXPECT_EQ(support::CountFiles(kTarget), 1);
        EXPECT_FALSE(Exists(kStaging + ".tmp"));
        EXPECT_FALSE(archiver.Active());
    }
}

TEST_F(BackupJobTest, TemporaryFilesOfAKilledRunAreRemovedByTheNextBackupWhateverItsOutcome) {
    struct Case {
        const char* Next;
        bool Database;      // the year's database is there
        int StopInPhase;    // the n-th copying report asks to stop (0: never)
        bool Succeeds;
    } cases[] = {
        {"succeeds", true, 0, true},
        {"finds no database", false, 0, false},
        {"is stopped before the copy", true, 1, false},
    };
    const std::string leftArchive = kArchive + ".tmp";
    const std::string leftStaging = kStaging + ".tmp";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Next);
        support::FreshFolder(kTarget);
        CreateDirectoryA(kStagingFolder, nullptr);
        // As a run killed while copying, or while packing, leaves them.
        WriteBytes(leftArchive, std::string("PK\x03\x04", 4) + "half an archive");
        WriteBytes(leftStaging, "half a copy");
        if (c.Database) {
            WriteBytes(kDatabase, "the year's data");
        } else {
            DeleteFileA(kDatabase.c_str());
        }
        observer = RecordingObserver();
        observer.StopPhase = TBackupPhase::Copying;
        observer.StopAt = c.StopInPhase;
        bool succeeded = true;
        try {
            Run();
        } catch (const EBackupFailure&) {
            succeeded = false;
        }
        EXPECT_EQ(succeeded, c.Succeeds);
        EXPECT_FALSE(Exists(leftArchive));
        EXPECT_FALSE(Exists(leftStaging));
        EXPECT_EQ(support::CountFiles(kTarget), c.Succeeds ? 1 : 0);
    }
}
