// One backup of a name at a time: a backup that finds another holding its staging copy or its
// archive writes nothing and says so, and of two started together (from two programs, or the
// dialog beside the command line) exactly one writes unless they happen to run one after the
// other.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "app/backup_names.h"
#include "app/backup_texts.h"
#include "archiver/deflate/crc32.h"
#include "archiver/write/dir_manager.h"
#include "core/archive_replacement.h"
#include "core/file_copy.h"
#include "core/machine_lock.h"
#include "core/streams.h"
#include "core/text.h"
#include "backup_driver.h"
#include "dialog_backup.h"
#include "file_holder.h"
#include "support/files.h"
#include "support/test_data.h"

namespace {
using support::Exists;
using support::ReadBytes;
using support::WriteBytes;

const std::string kRoot = "c:\\backup_lock_test";
const std::string kProgramFolder = kRoot + "\\prog\\";
const std::string kTarget = kRoot + "\\arhiva";
const std::string kOtherTarget = kRoot + "\\druga_arhiva";

std::string Refusal(const std::string& path) {
    return std::string(kFailureMessage) + "\n" + Format(kBackupRunningText, path.c_str());
}

class BackupLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDialogClasses();
        support::FreshFolder(kProgramFolder);
        DeleteFileA(names.Staging.c_str());
        DeleteDialogSettings();
    }
    void TearDown() override {
        support::RemoveTree(kRoot);
        DeleteFileA(names.Staging.c_str());
        DeleteDialogSettings();
    }

    // The archive holds the database as it is now, and nothing of a backup is left beside it.
    void ExpectWholeArchiveOfTheDatabase(const std::string& data) {
        TFileStream file(names.Archive, fmOpenRead | fmShareDenyNone);
        TVXDirManager dir(file, nullptr);
        ASSERT_EQ(dir.Items.Count(), 1);
        const TDirItem& item = *dir.Items.ItemPtr(0);
        EXPECT_EQ(item.StoredName, "BRODANIKVESTRA_G2024.fdb");
        EXPECT_EQ(item.UncompressedSize, data.size());
        EXPECT_EQ(item.Crc32, Crc32Of(data.data(), static_cast<int64_t>(data.size())));
        EXPECT_EQ(support::CountFiles(kTarget), 1);
        EXPECT_FALSE(Exists(TemporaryArchiveName(names.Archive)));
        EXPECT_FALSE(Exists(CopyTemporaryName(names.Staging)));
    }

    // The dialog's date is the real one here, as the command line's is.
    const TBackupNames names = MakeBackupNames(kTarget, kProgramFolder, "2024", Today());
};

TEST(MachineLock, IsOneForThePathInAnyLetterCaseAndSlashAndDiesWithItsHolder) {
    struct Case {
        const char* Other;
        bool Same;
    };
    const std::string path = "c:\\Arhiva\\\xc8" "asopis\\BRODANIKVESTRA_G2024.fdb";
    for (const Case& c : {Case{"c:\\Arhiva\\\xc8" "asopis\\BRODANIKVESTRA_G2024.fdb", true},
                          Case{"C:/ARHIVA/\xe8" "ASOPIS/brodanikvestra_g2024.FDB", true},
                          Case{"c:\\Arhiva\\\xc8" "asopis\\BRODANIKVESTRA_G2023.fdb", false},
                          Case{"d:\\Arhiva\\\xc8" "asopis\\BRODANIKVESTRA_G2024.fdb", false}}) {
        SCOPED_TRACE(c.Other);
        {
            FileHolder holder(path, "-", "-", FileHolder::Lock);
            ASSERT_TRUE(holder.Held());
            EXPECT_EQ(TMachineLock(c.Other).Held(), !c.Same);
        }
        // The holder was killed, not let to finish.
        EXPECT_TRUE(TMachineLock(c.Other).Held());
    }
}

TEST_F(BackupLockTest, ABackupThatFindsItsNameTakenWritesNothingAndTheLockDiesWithItsHolder) {
    WriteBytes(names.Source, "the morning's data");
    ASSERT_EQ(RunDialogBackup(kProgramFolder, kTarget), std::string(kSuccessMessage) + "\nArhiva: " + names.Archive);
    const std::string earlier = ReadBytes(names.Archive);
    const std::string earlierStaging = ReadBytes(names.Staging);
    WriteBytes(names.Source, "the evening's data");
    // The staging copy is the year's whichever folder the archive goes to.
    const TBackupNames other = MakeBackupNames(kOtherTarget, kProgramFolder, "2024", Today());
    struct Case {
        std::string Held;
        std::string Target;
        bool Dialog;
    };
    for (const Case& c : {Case{names.Staging, kOtherTarget, true}, Case{names.Archive, kTarget, true},
                          Case{names.Staging, kOtherTarget, false}, Case{names.Archive, kTarget, false}}) {
        SCOPED_TRACE(c.Held + (c.Dialog ? " (dialog)" : " (command line)"));
        {
            FileHolder running(c.Held, "-", "-", FileHolder::Lock);
            ASSERT_TRUE(running.Held());
            if (c.Dialog) {
                EXPECT_EQ(RunDialogBackup(kProgramFolder, c.Target), Refusal(c.Held));
            } else {
                BackupDriver driver(kProgramFolder, c.Target);
                EXPECT_EQ(driver.Wait(), 1);
                std::string told = driver.Output();
                for (size_t at; (at = told.find("\r\n")) != std::string::npos;) told.replace(at, 2, "\n");
                EXPECT_EQ(told, Refusal(c.Held) + "\n");
            }
            EXPECT_EQ(ReadBytes(names.Staging), earlierStaging);
            EXPECT_EQ(ReadBytes(names.Archive), earlier);
            EXPECT_FALSE(Exists(other.Archive));
            EXPECT_FALSE(Exists(TemporaryArchiveName(c.Target == kTarget ? names.Archive : other.Archive)));
            EXPECT_FALSE(Exists(CopyTemporaryName(names.Staging)));
        }
        // The holder was killed, not let to finish: its lock went with it.
        EXPECT_TRUE(TMachineLock(c.Held).Held());
    }
    EXPECT_EQ(RunDialogBackup(kProgramFolder, kTarget), std::string(kSuccessMessage) + "\nArhiva: " + names.Archive);
    ExpectWholeArchiveOfTheDatabase("the evening's data");
}

// Each round starts a command-line backup and, at once, a second one: another command line, or
// the dialog. The database is large enough that they usually overlap.
TEST_F(BackupLockTest, OfTwoStartedTogetherOneWritesAndTheOtherSaysAnotherRuns) {
    constexpr int kRounds = 10;
    int overlapped = 0;
    for (bool dialog : {false, true}) {
        for (int round = 0; round < kRounds; ++round) {
            SCOPED_TRACE((dialog ? "dialog, round " : "command lines, round ") + std::to_string(round));
            const std::string data = support::NoiseBytes(6u << 20, 100 + round + (dialog ? kRounds : 0));
            WriteBytes(names.Source, data);
            BackupDriver first(kProgramFolder, kTarget);
            ASSERT_TRUE(first.Started());
            // Both take the staging copy's lock first: the one that comes second is refused there.
            const std::string refusal = Format(kBackupRunningText, names.Staging.c_str());
            int refused = 0;
            auto outcome = [&](BackupDriver& run) {
                const int code = run.Wait();
                const std::string told = run.Output();
                if (code == 0) return;
                EXPECT_EQ(code, 1) << told;
                EXPECT_NE(told.find(refusal), std::string::npos) << told;
                ++refused;
            };
            if (dialog) {
                const std::string told = RunDialogBackup(kProgramFolder, kTarget);
                if (told != std::string(kSuccessMessage) + "\nArhiva: " + names.Archive) {
                    EXPECT_EQ(told, Refusal(names.Staging));
                    ++refused;
                }
            } else {
                BackupDriver second(kProgramFolder, kTarget);
                outcome(second);
            }
            outcome(first);
            EXPECT_LE(refused, 1);
            overlapped += refused;
            ExpectWholeArchiveOfTheDatabase(data);
        }
    }
    // Rounds that never overlapped would have shown nothing.
    EXPECT_GT(overlapped, 0);
    KeepForReaders(names.Archive, "two_started_together.zip");
}

}  // namespace
