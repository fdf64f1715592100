// The whole backup under faults, driven through the dialog: each failure must end in the
// failure message with its cause on the second line, the earlier archive of the day whole and
// no temporary file left.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/backup_names.h"
#include "app/backup_texts.h"
#include "app/form_snimanje_podataka.h"
#include "archiver/vorbex.h"
#include "core/paths.h"
#include "core/streams.h"
#include "core/text.h"
#include "dialog_backup.h"
#include "dialog_support.h"
#include "file_holder.h"
#include "support/damage.h"
#include "support/files.h"
#include "support/fixed_clock.h"
#include "support/gui_input.h"
#include "support/message_box_capture.h"
#include "support/test_data.h"
#include "toolkit/application.h"
#include "toolkit/edit.h"
#include "widgets/directory_edit.h"

namespace {
using support::Exists;
using support::ReadBytes;
using support::RemoveTree;
using support::WriteBytes;

const char* kProgramFolder = "c:\\reliability_test\\";
const char* kDatabase = "c:\\reliability_test\\BRODANIKVESTRA_G2024.fdb";
const char* kTarget = "c:\\reliability_test\\arhiva";
const char* kArchiveName = "BRODANIKVESTRA_G2024_05_03_2024.zip";
const char* kStaging = "c:\\temp_backup\\BRODANIKVESTRA_G2024.fdb";

// Bytes that deflate cannot shrink, so the archive is as large as the database.
std::string Incompressible(size_t size) { return support::NoiseBytes(size, 2463534242u); }

// The failure message with its cause.
std::string Failure(const char* cause, const std::string& path) {
    return std::string(kFailureMessage) + "\n" + Format(cause, path.c_str());
}

class BackupFaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDialogClasses();
        RemoveTree(kProgramFolder);
        CreateDirectoryA(kProgramFolder, nullptr);
        DeleteFileA(kStaging);
        DeleteDialogSettings();
    }
    void TearDown() override {
        RemoveTree(kProgramFolder);
        DeleteFileA(kStaging);
        DeleteDialogSettings();
    }

    // One run of the program (the dialog shown, the folder and year typed, "&Snimi" pressed).
    std::string Backup(const std::string& folder, const std::string& year = "2024",
                       const std::function<void(TFSnimanjePodataka&)>& prepare = {}) {
        return RunDialogBackup(kProgramFolder, folder, year, prepare);
    }

    // The earlier backup of the day, whose archive every failure must leave as it was.
    std::string EarlierBackup(const std::string& folder) {
        WriteBytes(kDatabase, "the morning's data");
        EXPECT_EQ(Backup(folder), std::string(kSuccessMessage) + "\nArhiva: " + JoinPath(folder, kArchiveName));
        return ReadBytes(JoinPath(folder, kArchiveName));
    }

    static void ExpectNoTemporaryFiles(const std::string& folder) {
        EXPECT_FALSE(Exists(JoinPath(folder, std::string(kArchiveName) + ".tmp")));
        EXPECT_FALSE(Exists(std::string(kStaging) + ".tmp"));
    }

    support::FixedClock clock{2024, 3, 5};
};

// Where the failing backup writes.
enum class Target { Folder, MissingDrive, RelativeFolder, FullVolume, ReadOnlyVolume };
// What stands in its way.
enum class Obstacle { None, Writer, Exclusive, StagingHeld, ArchiveHeld, ArchiveReadOnly, NoDatabase, DiskChangesByte };
// The path the second line names.
enum class Concerned { Database, OtherYearsDatabase, Staging, Archive, Folder };

struct CauseCase {
    const char* Name;
    Target Where;
    Obstacle Block;
    const char* Cause;
    Concerned Path;
};

class FailureCauseTest : public BackupFaultsTest, public ::testing::WithParamInterface<CauseCase> {
protected:
    // The folder the case writes to, with an earlier archive of the day in it where one can be
    // made; "" when the volume it needs is missing.
    std::string PrepareTarget(Target where) {
        switch (where) {
            case Target::Folder: return kTarget;
            case Target::MissingDrive: return "q:\\arhiva";
            case Target::RelativeFolder: return "arhiva_koje_nema";
            case Target::FullVolume: {
                ULARGE_INTEGER freeBytes, total;
                if (!GetDiskFreeSpaceExA("t:\\", &freeBytes, &total, nullptr) || total.QuadPart > 16u << 20) return "";
                std::string archive = JoinPath("t:\\", kArchiveName);
                SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(archive.c_str());
                return "t:\\";
            }
            case Target::ReadOnlyVolume: {
                std::string folder = WindowsPath(READONLY_VOLUME_DIR);
                std::string probe = JoinPath(folder, "probe");
                HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
                if (h != INVALID_HANDLE_VALUE) {
                    CloseHandle(h);
                    DeleteFileA(probe.c_str());
                    return "";
                }
                return Exists(JoinPath(folder, kArchiveName)) ? folder : "";
            }
        }
        return "";
    }
};

}  // namespace

TEST_P(FailureCauseTest, ShowsItsCauseAndKeepsTheEarlierBackup) {
    const CauseCase& c = GetParam();
    const std::string folder = PrepareTarget(c.Where);
    if (folder.empty()) GTEST_SKIP() << "no fault volume (the fault_volumes fixture needs root to mount it)";
    const std::string archive = JoinPath(folder, kArchiveName);
    const bool canHaveEarlier = c.Where == Target::Folder || c.Where == Target::FullVolume;
    std::string earlier = canHaveEarlier ? EarlierBackup(folder) : ReadBytes(archive);
    const std::string earlierStaging = ReadBytes(kStaging);
    WriteBytes(kDatabase, c.Where == Target::FullVolume ? Incompressible(3u << 20) : "the evening's data");

    std::unique_ptr<FileHolder> holder;
    switch (c.Block) {
        case Obstacle::None: break;
        case Obstacle::Writer: holder = std::make_unique<FileHolder>(kDatabase, "rw", "rw", FileHolder::Rewrite); break;
        case Obstacle::Exclusive: holder = std::make_unique<FileHolder>(kDatabase, "r", "-"); break;
        case Obstacle::StagingHeld: holder = std::make_unique<FileHolder>(kStaging, "r", "-"); break;
        case Obstacle::ArchiveHeld: holder = std::make_unique<FileHolder>(archive, "r", "-"); break;
        case Obstacle::ArchiveReadOnly: SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_READONLY); break;
        case Obstacle::NoDatabase: break;
        case Obstacle::DiskChangesByte: break;
    }
    if (holder) {
        ASSERT_TRUE(holder->Held());
    }

    std::string concerned;
    switch (c.Path) {
        case Concerned::Database: concerned = kDatabase; break;
        case Concerned::OtherYearsDatabase: concerned = std::string(kProgramFolder) + "BRODANIKVESTRA_G2023.fdb"; break;
        case Concerned::Staging: concerned = kStaging; break;
        case Concerned::Archive: concerned = archive; break;
        case Concerned::Folder: concerned = folder; break;
    }
    std::function<void(TFSnimanjePodataka&)> prepare;
    if (c.Block == Obstacle::DiskChangesByte) {
        // The new archive as the disk gives it back, a byte in its middle not what was written.
        prepare = [](TFSnimanjePodataka& dialog) {
            dialog.Vorbex1->BeforeVerify = [](TStream& written) { support::FlipByte(written, written.Size() / 2); };
        };
    }
    const std::string message = Backup(folder, c.Block == Obstacle::NoDatabase ? "2023" : "2024", prepare);
    holder.reset();

    EXPECT_EQ(message, Failure(c.Cause, concerned));
    EXPECT_EQ(ReadBytes(archive), earlier);
    ExpectNoTemporaryFiles(folder);
    // A failure at the copy leaves the earlier staging copy too.
    if (c.Path != Concerned::Archive) {
        EXPECT_EQ(ReadBytes(kStaging), earlierStaging);
    }
    if (c.Where == Target::Folder) {
        EXPECT_EQ(support::CountFiles(kTarget), 1);
    }
    if (c.Block == Obstacle::ArchiveReadOnly) {
        EXPECT_TRUE(GetFileAttributesA(archive.c_str()) & FILE_ATTRIBUTE_READONLY);
        SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    if (c.Where == Target::FullVolume) DeleteFileA(archive.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Causes, FailureCauseTest,
    ::testing::Values(
        CauseCase{"DatabaseOfAnotherYearMissing", Target::Folder, Obstacle::NoDatabase, kDatabaseMissingText,
                  Concerned::OtherYearsDatabase},
        CauseCase{"DatabaseWrittenByItsServer", Target::Folder, Obstacle::Writer, kDatabaseInUseText,
                  Concerned::Database},
        CauseCase{"DatabaseHeldWithoutSharing", Target::Folder, Obstacle::Exclusive, kDatabaseInUseText,
                  Concerned::Database},
        CauseCase{"FolderOnAMissingDrive", Target::MissingDrive, Obstacle::None, kFolderNotCreatedText,
                  Concerned::Folder},
        CauseCase{"RelativeFolderThatCannotBeMade", Target::RelativeFolder, Obstacle::None, kFolderNotCreatedText,
                  Concerned::Folder},
        CauseCase{"StagingCopyInUse", Target::Folder, Obstacle::StagingHeld, kFileInUseText, Concerned::Staging},
        CauseCase{"EarlierArchiveInUse", Target::Folder, Obstacle::ArchiveHeld, kFileInUseText, Concerned::Archive},
        CauseCase{"EarlierArchiveReadOnly", Target::Folder, Obstacle::ArchiveReadOnly, kNotWritableText,
                  Concerned::Archive},
        CauseCase{"ReadOnlyVolume", Target::ReadOnlyVolume, Obstacle::None, kNotWritableText, Concerned::Archive},
        CauseCase{"VolumeThatFillsPartWay", Target::FullVolume, Obstacle::None, kDiskFullText, Concerned::Archive},
        CauseCase{"ArchiveThatDoesNotReadBack", Target::Folder, Obstacle::DiskChangesByte, kVerificationFailedText,
                  Concerned::Archive}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(BackupFaultsTest, SecondBackupOfTheDayReplacesTheFirstWhole) {
    EarlierBackup(kTarget);
    std::string evening = Incompressible(300000) + "the evening's data";
    WriteBytes(kDatabase, evening);
    std::string archive = JoinPath(kTarget, kArchiveName);
    ASSERT_EQ(Backup(kTarget), std::string(kSuccessMessage) + "\nArhiva: " + archive);
    std::string zip = ReadBytes(archive);
    EXPECT_NE(zip.find("BRODANIKVESTRA_G2024.fdb"), std::string::npos);
    EXPECT_GT(zip.size(), evening.size());  // the evening's data, not the morning's
    EXPECT_EQ(support::CountFiles(kTarget), 1);
    KeepForReaders(archive, kArchiveName);
}

TEST_F(BackupFaultsTest, AReaderThatSharesReadingDoesNotStopTheBackup) {
    const std::string data = support::TextBytes(200000);
    WriteBytes(kDatabase, data);
    std::string archive = JoinPath(kTarget, kArchiveName);
    {
        FileHolder reader(kDatabase, "r", "r");
        ASSERT_TRUE(reader.Held());
        EXPECT_EQ(Backup(kTarget), std::string(kSuccessMessage) + "\nArhiva: " + archive);
    }
    EXPECT_EQ(ReadBytes(kStaging), data);
    ExpectNoTemporaryFiles(kTarget);
    KeepForReaders(archive, "reader_sharing_" + std::string(kArchiveName));
}

// A program that opens each file just written for a moment (a virus scanner, an indexer, the
// sync client of a synchronised target folder) must not make the backup fail or leave files.
struct ScannedCase {
    const char* Name;
    Concerned File;
    bool TemporaryName;  // the file's name while it is written
    const char* Sharing;
};

class ScannedFileTest : public BackupFaultsTest, public ::testing::WithParamInterface<ScannedCase> {};

TEST_P(ScannedFileTest, DoesNotStopTheBackup) {
    const ScannedCase& c = GetParam();
    const std::string archive = JoinPath(kTarget, kArchiveName);
    const std::string earlier = EarlierBackup(kTarget);
    const std::string data = Incompressible(1u << 20);
    WriteBytes(kDatabase, data);
    std::string scanned = c.File == Concerned::Archive ? archive : kStaging;
    if (c.TemporaryName) scanned += ".tmp";
    {
        FileHolder scanner(scanned, "r", c.Sharing, FileHolder::Scan);
        ASSERT_TRUE(scanner.Held());
        EXPECT_EQ(Backup(kTarget), std::string(kSuccessMessage) + "\nArhiva: " + archive);
    }
    EXPECT_TRUE(ReadBytes(kStaging) == data);
    EXPECT_TRUE(ReadBytes(archive) != earlier);
    ExpectNoTemporaryFiles(kTarget);
    EXPECT_EQ(support::CountFiles(kTarget), 1);
    KeepForReaders(archive, std::string("scanned_") + c.Name + ".zip");
}

INSTANTIATE_TEST_SUITE_P(
    Files, ScannedFileTest,
    ::testing::Values(ScannedCase{"NewArchive", Concerned::Archive, true, "rw"},
                      ScannedCase{"NewArchiveSharingDeletion", Concerned::Archive, true, "rwd"},
                      ScannedCase{"NewStagingCopy", Concerned::Staging, true, "rw"},
                      ScannedCase{"NewStagingCopySharingDeletion", Concerned::Staging, true, "rwd"},
                      ScannedCase{"StagingCopyInPlace", Concerned::Staging, false, "rw"},
                      ScannedCase{"EarlierArchive", Concerned::Archive, false, "rw"}),
    [](const auto& info) { return std::string(info.param.Name); });
