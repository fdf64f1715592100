// Drives that go away while a backup uses them: each error number a pulled USB stick, a dropped
// share or a bad sector gives, at each step that meets it (the copy, the packing, the reading
// back, the renames), must end in its own cause naming the drive or the file, with the earlier
// archive whole and no temporary file left. Wine cannot pull a drive: the file layer's seam
// fails the step instead, and every later step on that file, as a drive that is gone does.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/backup_job.h"
#include "app/backup_texts.h"
#include "archiver/vorbex.h"
#include "core/archive_replacement.h"
#include "core/file_copy.h"
#include "core/file_faults.h"
#include "core/text.h"
#include "support/files.h"
#include "support/test_data.h"

namespace {
using support::Exists;
using support::ReadBytes;
using support::WriteBytes;

const std::string kRoot = "c:\\vanishing_drive_test";
const std::string kProgramFolder = kRoot + "\\prog\\";
const std::string kTarget = kRoot + "\\arhiva";

struct Refusal {
    const char* Name;
    unsigned long Code;
    const char* Cause;
    bool NamesTheDrive;  // the text names the drive ("c:"), not the file
};

const Refusal kRefusals[] = {
    {"DriveNotReady", ERROR_NOT_READY, kDriveUnavailableText, true},
    {"DeviceNotConnected", ERROR_DEVICE_NOT_CONNECTED, kDriveUnavailableText, true},
    {"GeneralFailure", ERROR_GEN_FAILURE, kDriveUnavailableText, true},
    {"VolumeGoneUnderAnOpenFile", ERROR_FILE_INVALID, kDriveUnavailableText, true},
    {"NetworkNameDeleted", ERROR_NETNAME_DELETED, kNetworkUnavailableText, true},
    {"UnexpectedNetworkError", ERROR_UNEXP_NET_ERR, kNetworkUnavailableText, true},
    {"SemaphoreTimeout", ERROR_SEM_TIMEOUT, kNetworkUnavailableText, true},
    {"NetworkResourceGone", ERROR_DEV_NOT_EXIST, kNetworkUnavailableText, true},
    {"CrcError", ERROR_CRC, kMediumDamagedText, false},
    {"SectorNotFound", ERROR_SECTOR_NOT_FOUND, kMediumDamagedText, false},
};

enum class Concerned { Database, Staging, Archive };

struct Step {
    const char* Name;
    TFileStep Kind;
    Concerned File;
    bool Temporary;      // the step meets the file under its temporary name
    bool BeforeStaging;  // the staging copy is not yet in place
};

const Step kSteps[] = {
    {"OpeningTheDatabase", TFileStep::Open, Concerned::Database, false, true},
    {"ReadingTheDatabase", TFileStep::Read, Concerned::Database, false, true},
    {"WritingTheStagingCopy", TFileStep::Write, Concerned::Staging, true, true},
    {"PuttingTheStagingCopyInPlace", TFileStep::Rename, Concerned::Staging, false, true},
    {"PackingTheStagingCopy", TFileStep::Read, Concerned::Staging, false, false},
    {"WritingTheArchive", TFileStep::Write, Concerned::Archive, true, false},
    {"ReadingTheArchiveBack", TFileStep::Read, Concerned::Archive, true, false},
    {"FlushingTheArchive", TFileStep::Flush, Concerned::Archive, true, false},
    {"PuttingTheArchiveInPlace", TFileStep::Rename, Concerned::Archive, false, false},
};

class VanishingDriveTest : public ::testing::TestWithParam<std::tuple<Refusal, Step>> {
protected:
    void SetUp() override {
        support::FreshFolder(kProgramFolder);
        DeleteFileA(names.Staging.c_str());
        archiver.SetCompressionLevel(clFastest);
        archiver.SetCompressionMode(1);
        archiver.Options()->SetShareMode(smShareDenyWrite);
        archiver.SetVerify(true);
    }
    void TearDown() override {
        SetFileFault({});
        support::RemoveTree(kRoot);
        DeleteFileA(names.Staging.c_str());
    }

    std::string Run() {
        TSilentBackupObserver silent;
        TBackupJob job(archiver, silent);
        return job.Run({kTarget, kProgramFolder, "2024", EncodeDate(2024, 3, 5)});
    }

    std::string PathOf(Concerned file) const {
        switch (file) {
            case Concerned::Database: return names.Source;
            case Concerned::Staging: return names.Staging;
            case Concerned::Archive: break;
        }
        return names.Archive;
    }

    const TBackupNames names = MakeBackupNames(kTarget, kProgramFolder, "2024", EncodeDate(2024, 3, 5));
    TVorbex archiver{nullptr};
};

}  // namespace

TEST_P(VanishingDriveTest, TellsItsCauseAndKeepsTheEarlierBackup) {
    const auto& [refusal, step] = GetParam();
    WriteBytes(names.Source, "the morning's data");
    ASSERT_EQ(Run(), names.Archive);
    const std::string earlier = ReadBytes(names.Archive);
    const std::string earlierStaging = ReadBytes(names.Staging);
    WriteBytes(names.Source, support::TextBytes(300000));

    const std::string path = PathOf(step.File);
    const std::string met = step.Temporary ? path + ".tmp" : path;
    bool gone = false;
    SetFileFault([&](TFileStep kind, const std::string& file) -> unsigned long {
        if (!SameTextAscii(file, met)) return 0;
        gone = gone || kind == step.Kind;
        return gone ? refusal.Code : 0;
    });
    try {
        Run();
        ADD_FAILURE() << "the backup succeeded";
    } catch (const EBackupFailure& e) {
        EXPECT_EQ(e.Message(), Format(refusal.Cause, (refusal.NamesTheDrive ? std::string("c:") : path).c_str()));
        EXPECT_EQ(e.Path, path);
    }
    SetFileFault({});
    EXPECT_TRUE(gone);
    EXPECT_EQ(ReadBytes(names.Archive), earlier);
    if (step.BeforeStaging) {
        EXPECT_EQ(ReadBytes(names.Staging), earlierStaging);
    }
    EXPECT_FALSE(Exists(TemporaryArchiveName(names.Archive)));
    EXPECT_FALSE(Exists(CopyTemporaryName(names.Staging)));
    EXPECT_EQ(support::CountFiles(kTarget), 1);
}

INSTANTIATE_TEST_SUITE_P(Refusals, VanishingDriveTest,
                         ::testing::Combine(::testing::ValuesIn(kRefusals), ::testing::ValuesIn(kSteps)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) + "_" + std::get<1>(info.param).Name;
                         });
