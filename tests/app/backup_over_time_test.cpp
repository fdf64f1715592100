// Backups over time, through the job the dialog and the command line run: the space checked
// before anything is written, the newest archives of a year kept to a number, and the history
// line every run leaves.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/backup_job.h"
#include "app/backup_outcome.h"
#include "app/backup_texts.h"
#include "app/human_sizes.h"
#include "app/run_log.h"
#include "app/space_check.h"
#include "archiver/vorbex.h"
#include "core/paths.h"
#include "core/text.h"
#include "support/files.h"
#include "support/fixed_clock.h"
#include "support/test_data.h"

namespace {
using support::Exists;
using support::ReadBytes;
using support::WriteBytes;

const std::string kRoot = "c:\\over_time_test";
const std::string kProgramFolder = kRoot + "\\prog\\";
const std::string kTarget = kRoot + "\\arhiva";
const std::string kDatabase = kProgramFolder + "BRODANIKVESTRA_G2024.fdb";
const std::string kStaging = std::string(kStagingFolder) + "BRODANIKVESTRA_G2024.fdb";
const std::string kLog = kRoot + "\\Snimanje.log";
const char* kSmallVolume = "t:\\";

std::string Archive(const std::string& folder, const char* stamp, const char* year = "2024") {
    return JoinPath(folder, std::string("BRODANIKVESTRA_G") + year + "_" + stamp + ".zip");
}

// Every name in folder, folders marked with a trailing backslash.
std::set<std::string> Listing(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        names.insert(name + ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "\\" : ""));
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
}

// The small volume of the fault fixture, emptied; false when it is not mounted.
bool EmptySmallVolume() {
    ULARGE_INTEGER freeBytes, total;
    if (!GetDiskFreeSpaceExA(kSmallVolume, &freeBytes, &total, nullptr) || total.QuadPart > 16u << 20) return false;
    for (const std::string& name : Listing(kSmallVolume)) support::RemoveTree(JoinPath(kSmallVolume, name));
    return true;
}

uint64_t FreeOnSmallVolume() {
    ULARGE_INTEGER freeBytes;
    return GetDiskFreeSpaceExA(kSmallVolume, &freeBytes, nullptr, nullptr) ? freeBytes.QuadPart : 0;
}

// The fields of the log's last line, which ends in CRLF as every line does.
std::vector<std::string> LastLogLine(const std::string& log) {
    std::string text = ReadBytes(log);
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) return {};
    text.resize(text.size() - 2);
    std::istringstream line(text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1));
    std::vector<std::string> fields;
    for (std::string f; std::getline(line, f, '\t');) fields.push_back(f);
    if (text.back() == '\t') fields.push_back("");
    fields.resize(std::max<size_t>(fields.size(), 8));  // a short line fails the checks, not the test program
    return fields;
}

class StopAtFirstReport : public TBackupObserver {
public:
    bool Progress(TBackupPhase, uint64_t, uint64_t) override { return Stop; }
    bool Stop = false;
};

class OverTimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        support::FreshFolder(kProgramFolder);
        support::FreshFolder(kTarget);
        DeleteFileA(kStaging.c_str());
        archiver.SetCompressionLevel(clFastest);
        archiver.SetVerify(true);
    }
    void TearDown() override {
        support::RemoveTree(kRoot);
        DeleteFileA(kStaging.c_str());
    }

    // The message the dialog would show.
    std::string Run(const std::string& folder, int keep = 0) {
        TBackupJob job(archiver, observer);
        job.LogTo(kLog);
        try {
            return SavedMessage(job.Run({folder, kProgramFolder, "2024", EncodeDate(2024, 3, 5), keep}), job.Pruned());
        } catch (const EBackupFailure& e) {
            return e.Cause == TFailureCause::Cancelled ? e.Message() : FailedMessage(e);
        }
    }

    TVorbex archiver{nullptr};
    StopAtFirstReport observer;
    support::FixedClock clock{2024, 3, 5, 0.75};
};

struct SpaceCase {
    const char* Name;
    uint64_t EarlierArchive;  // bytes of the newest earlier archive on the small volume
    bool Refused;
};

class TargetSpaceTest : public OverTimeTest, public ::testing::WithParamInterface<SpaceCase> {};

}  // namespace

TEST_P(TargetSpaceTest, RefusesBeforeWritingOnlyWhatCannotFit) {
    const SpaceCase& c = GetParam();
    if (!EmptySmallVolume()) GTEST_SKIP() << "no fault volume (the fault_volumes fixture needs root to mount it)";
    // The newest earlier archive of the year stands for the estimate; another year's does not.
    WriteBytes(Archive(kSmallVolume, "01_03_2023", "2023"), "older");
    WriteBytes(Archive(kSmallVolume, "04_03_2024"), std::string(c.EarlierArchive, 'a'));
    WriteBytes(kDatabase, support::TextBytes(200000));
    const std::set<std::string> before = Listing(kSmallVolume);
    const uint64_t freeBytes = FreeOnSmallVolume();

    const std::string message = Run(kSmallVolume);
    if (c.Refused) {
        const std::string reason =
            Format(kNoSpaceForArchiveText, SizeText(c.EarlierArchive, true).c_str(), SizeText(freeBytes).c_str()) +
            Format(kOlderArchivesText, kSmallVolume, 1, SizeText(c.EarlierArchive).c_str());
        EXPECT_EQ(message, std::string(kFailureMessage) + "\n" + Format(kNoSpaceText, kSmallVolume, reason.c_str()));
        EXPECT_EQ(Listing(kSmallVolume), before);
        EXPECT_FALSE(Exists(kStaging));
        EXPECT_EQ(LastLogLine(kLog)[6], kOutcomeRefusedText);
    } else {
        EXPECT_EQ(message, SavedMessage(Archive(kSmallVolume, "05_03_2024")));
    }
    EmptySmallVolume();
}

INSTANTIATE_TEST_SUITE_P(Estimates, TargetSpaceTest,
                         ::testing::Values(SpaceCase{"ArchiveThatCannotFit", 1300000, true},
                                           SpaceCase{"ArchiveThatFitsButForTheMargin", 1100000, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(OverTimeTest, AStagingVolumeTooSmallForTheDatabaseIsRefused) {
    if (!EmptySmallVolume()) GTEST_SKIP() << "no fault volume (the fault_volumes fixture needs root to mount it)";
    WriteBytes(kDatabase, std::string(3u << 20, 'd'));
    TBackupNames names{kDatabase, JoinPath(kSmallVolume, "BRODANIKVESTRA_G2024.fdb"), Archive(kTarget, "05_03_2024")};
    const std::string reason =
        Format(kNoSpaceForCopyText, SizeText(3u << 20, true).c_str(), SizeText(FreeOnSmallVolume()).c_str());
    try {
        CheckBackupSpace(names, "2024", 0);
        ADD_FAILURE() << "not refused";
    } catch (const EBackupFailure& e) {
        EXPECT_EQ(e.Cause, TFailureCause::NoSpace);
        EXPECT_EQ(e.Message(), Format(kNoSpaceText, kSmallVolume, reason.c_str()));
    }
    // With room for it, and with no estimate of the archive, nothing is refused.
    names.Staging = kStaging;
    EXPECT_NO_THROW(CheckBackupSpace(names, "2024", 0));
    EXPECT_NO_THROW(CheckBackupSpace(names, "2024", 0.5));
}

// Archives of the year in the folder, oldest first by the date in their names (their file times
// say otherwise); the second is read-only.
const char* const kYearArchives[] = {"01_03_2024", "02_03_2024", "03_03_2024", "04_03_2024"};
// What must never be removed: other years, look-alike names, a folder of an archive's name.
const char* const kLookAlikes[] = {"BRODANIKVESTRA_G2023_01_03_2023.zip", "BRODANIKVESTRA_G2024_01_01_2024 (1).zip",
                                   "BRODANIKVESTRA_G2024_01_01_2024.ZIP", "BRODANIKVESTRA_G2024_31_02_2024.zip",
                                   "BRODANIKVESTRA_G2024_1_01_2024.zip", "notes.txt"};

struct KeepCase {
    int Keep;
    bool Fails;                // the database is missing
    std::vector<int> Removed;  // indexes into kYearArchives
};

class KeepTest : public OverTimeTest, public ::testing::WithParamInterface<KeepCase> {};

TEST_P(KeepTest, RemovesOnlyTheOldestArchivesOfTheYearAfterASuccess) {
    const KeepCase& c = GetParam();
    FILETIME time{0x10000000u, 0x01d00000u};
    for (int i = 3; i >= 0; --i) {
        const std::string path = Archive(kTarget, kYearArchives[i]);
        WriteBytes(path, std::string(1000 + i, 'x'));
        HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(h, nullptr, nullptr, &time);
        CloseHandle(h);
        time.dwHighDateTime += 0x100;
    }
    SetFileAttributesA(Archive(kTarget, kYearArchives[1]).c_str(), FILE_ATTRIBUTE_READONLY);
    for (const char* name : kLookAlikes) WriteBytes(JoinPath(kTarget, name), "mine");
    CreateDirectoryA(Archive(kTarget, "02_01_2024").c_str(), nullptr);
    if (!c.Fails) WriteBytes(kDatabase, "the day's data");
    std::set<std::string> expected = Listing(kTarget);

    const std::string message = Run(kTarget, c.Keep);

    TPrunedArchives pruned;
    for (int i : c.Removed) {
        const std::string path = Archive(kTarget, kYearArchives[i]);
        (i == 1 ? pruned.Left : pruned.Removed).push_back(path);  // the read-only one stays
        if (i == 1) continue;
        pruned.FreedBytes += 1000 + i;
        expected.erase(ExtractFileName(path));
    }
    if (c.Fails) {
        EXPECT_EQ(message.substr(0, message.find('\n')), kFailureMessage);
    } else {
        EXPECT_EQ(message, SavedMessage(Archive(kTarget, "05_03_2024"), pruned));
        expected.insert(ExtractFileName(Archive(kTarget, "05_03_2024")));
    }
    EXPECT_EQ(Listing(kTarget), expected);
    SetFileAttributesA(Archive(kTarget, kYearArchives[1]).c_str(), FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(Numbers, KeepTest,
                         ::testing::Values(KeepCase{0, false, {}}, KeepCase{1, false, {0, 1, 2, 3}},
                                           KeepCase{3, false, {0, 1}}, KeepCase{1, true, {}}),
                         [](const auto& info) {
                             return "Keep" + std::to_string(info.param.Keep) + (info.param.Fails ? "AfterAFailure" : "");
                         });

TEST_F(OverTimeTest, EveryRunLeavesOneHistoryLine) {
    const std::string archive = Archive(kTarget, "05_03_2024");
    struct {
        const char* Outcome;
        bool Database, Stop;
        int Keep;
    } runs[] = {{kOutcomeSavedText, true, false, 0}, {kOutcomeFailedText, false, false, 0},
                {kOutcomeStoppedText, true, true, 0}, {kOutcomeSavedText, true, false, 1}};
    WriteBytes(Archive(kTarget, "01_03_2024"), "older");
    for (const auto& run : runs) {
        SCOPED_TRACE(run.Outcome);
        if (run.Database) WriteBytes(kDatabase, support::TextBytes(100000));
        else DeleteFileA(kDatabase.c_str());
        observer.Stop = run.Stop;
        const std::string message = Run(kTarget, run.Keep);
        const std::vector<std::string> f = LastLogLine(kLog);
        ASSERT_EQ(f.size(), 8u);
        EXPECT_EQ(f[0], "05.03.2024. 18:00:00");
        EXPECT_EQ(f[1], "2024");
        EXPECT_EQ(f[2], archive);
        EXPECT_EQ(f[3], run.Database ? "100000" : "0");
        EXPECT_EQ(f[4] != "0", run.Outcome == kOutcomeSavedText);
        EXPECT_EQ(f[5].substr(f[5].size() - 2), " s");
        EXPECT_EQ(f[6], run.Outcome);
        if (run.Outcome != kOutcomeSavedText) {
            EXPECT_EQ(f[7], message.substr(message.find('\n') + 1));
        } else {
            EXPECT_EQ(f[7], run.Keep ? Format(kRemovedText, "BRODANIKVESTRA_G2024_01_03_2024.zip") : "");
        }
    }
    // The last success gives the ratio the next estimate may use.
    EXPECT_DOUBLE_EQ(LastCompressionRatio(kLog, "2024"),
                     static_cast<double>(std::stoull(LastLogLine(kLog)[4])) / 100000.0);
    EXPECT_EQ(LastCompressionRatio(kLog, "2023"), 0.0);
}

TEST_F(OverTimeTest, TheHistoryKeepsOneEarlierFileOnceItReachesItsBound) {
    const std::string earlier = JoinPath(kRoot, kEarlierRunLogName);
    const std::string full = std::string(kRunLogLimit - 10, 'h');
    WriteBytes(kLog, full);
    WriteBytes(kDatabase, "data");
    Run(kTarget);
    EXPECT_EQ(ReadBytes(earlier), full);
    EXPECT_EQ(LastLogLine(kLog)[6], kOutcomeSavedText);
    EXPECT_LT(ReadBytes(kLog).size(), 1000u);
    // A log that cannot be written fails nothing.
    DeleteFileA(kLog.c_str());
    CreateDirectoryA(kLog.c_str(), nullptr);
    EXPECT_EQ(Run(kTarget), SavedMessage(Archive(kTarget, "05_03_2024")));
}
