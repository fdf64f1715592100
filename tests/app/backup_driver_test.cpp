// snimanje_backup.exe, the backup job without the dialog: it must write what the dialog writes,
// and a run of it killed part-way shows what a killed backup leaves for the next one to remove.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "app/backup_names.h"
#include "app/backup_texts.h"
#include "app/form_snimanje_podataka.h"
#include "archiver/vorbex.h"
#include "core/archive_replacement.h"
#include "core/file_copy.h"
#include "core/paths.h"
#include "core/text.h"
#include "backup_driver.h"
#include "dialog_support.h"
#include "file_holder.h"
#include "settings/store/prop_info_list.h"
#include "settings/store/prop_values.h"
#include "support/files.h"
#include "support/test_data.h"

namespace {
using support::Exists;
using support::ReadBytes;
using support::WriteBytes;

const std::string kRoot = "c:\\backup_driver_test";
const std::string kProgramFolder = kRoot + "\\prog\\";
const std::string kTarget = kRoot + "\\arhiva";

// Every published value of an object and of the objects it owns, but its name.
std::string PublishedValues(TPersistent& object, const std::string& prefix = "") {
    std::string values;
    TPropInfoList props(object);
    for (int i = 0; i < props.Count(); ++i) {
        const TPropInfo& prop = *props.Items(i);
        if (prop.Name == "Name") continue;
        if (prop.Kind == TTypeKind::tkClass) {
            if (TPersistent* owned = prop.GetObject(object)) values += PublishedValues(*owned, prefix + prop.Name + ".");
            continue;
        }
        values += prefix + prop.Name + "=" + PropertyValueText(object, prop) + "\n";
    }
    return values;
}

// The driver over this test's folders.
class Driver : public BackupDriver {
public:
    explicit Driver(const std::string& year = "2024", const std::string& options = "")
        : BackupDriver(kProgramFolder, kTarget, year, options) {}
};

class BackupDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        support::FreshFolder(kProgramFolder);
        DeleteFileA(names.Staging.c_str());
    }
    void TearDown() override {
        support::RemoveTree(kRoot);
        DeleteFileA(names.Staging.c_str());
    }

    // The driver's date is the real one, not a test clock's.
    const TBackupNames names = MakeBackupNames(kTarget, kProgramFolder, "2024", Today());
};

}  // namespace

TEST(BackupDriverArchiver, IsSetAsTheDialogsDescriptionSetsItsOwn) {
    RegisterDialogClasses();
    auto* dialog = new TFSnimanjePodataka(nullptr);
    // The driver's: a fresh one that lets readers share the staging copy and reads back unless
    // -n is given.
    TVorbex fresh(nullptr);
    fresh.Options()->SetShareMode(smShareDenyWrite);
    fresh.SetVerify(true);
    EXPECT_EQ(PublishedValues(*dialog->Vorbex1), PublishedValues(fresh));
    delete dialog;
    DeleteDialogSettings();
}

TEST_F(BackupDriverTest, WritesTheDialogsArchiveOrSaysWhyNot) {
    const std::string data = support::TextBytes(300000);
    WriteBytes(names.Source, data);
    {
        Driver run;
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(run.Wait(), 0);
        EXPECT_EQ(run.Output(), names.Archive + "\r\n");
    }
    EXPECT_EQ(ReadBytes(names.Staging), data);
    const std::string archive = ReadBytes(names.Archive);
    ASSERT_FALSE(archive.empty());
    KeepForReaders(names.Archive, "driver_" + std::string(kNameStem) + "2024.zip");
    Driver otherYear("2023");
    EXPECT_EQ(otherYear.Wait(), 1);
    EXPECT_EQ(otherYear.Output(), std::string(kFailureMessage) + "\r\n" +
                                      Format(kDatabaseMissingText, (kProgramFolder + "BRODANIKVESTRA_G2023.fdb").c_str()) +
                                      "\r\n");
    Driver badYear("23");
    EXPECT_EQ(badYear.Wait(), 2);
    EXPECT_EQ(badYear.Output(), std::string(kYearInvalidText) + "\r\n");
    EXPECT_EQ(ReadBytes(names.Archive), archive);
    Driver unknownOption("2024", "-x");
    EXPECT_EQ(unknownOption.Wait(), 2);
    EXPECT_EQ(ReadBytes(names.Archive), archive);
    // Without reading back the same archive is written.
    Driver unverified("2024", "-n");
    EXPECT_EQ(unverified.Wait(), 0);
    EXPECT_EQ(unverified.Output(), names.Archive + "\r\n");
    EXPECT_EQ(ReadBytes(names.Archive), archive);
    // -v adds each phase's seconds as it ends, in the order of the phases.
    for (const auto& [options, phases] : {std::pair<std::string, std::string>{"-v", "copying packing verifying "},
                                          {"-n -v", "copying packing "}, {"-v -n", "copying packing "}}) {
        SCOPED_TRACE(options);
        Driver timed("2024", options);
        EXPECT_EQ(timed.Wait(), 0);
        std::istringstream lines(timed.Output());
        std::string line, seen;
        int archiveLines = 0;
        while (std::getline(lines, line)) {
            if (line == names.Archive + "\r") {
                ++archiveLines;
                continue;
            }
            char phase[16] = {};
            double seconds = -1;
            EXPECT_EQ(std::sscanf(line.c_str(), "%15s %lf s", phase, &seconds), 2) << line;
            EXPECT_GE(seconds, 0.0);
            seen += std::string(phase) + " ";
        }
        EXPECT_EQ(seen, phases);
        EXPECT_EQ(archiveLines, 1);
        EXPECT_EQ(ReadBytes(names.Archive), archive);
    }
}

TEST_F(BackupDriverTest, AKilledRunLeavesItsTemporaryArchiveAndTheNextBackupRemovesIt) {
    WriteBytes(names.Source, "the morning's data");
    {
        Driver morning;
        ASSERT_EQ(morning.Wait(), 0);
    }
    const std::string earlier = ReadBytes(names.Archive);
    const std::string temporary = TemporaryArchiveName(names.Archive);

    // Killed while packing: the staging copy is complete, the new archive is not.
    const std::string data = support::NoiseBytes(32u << 20);
    WriteBytes(names.Source, data);
    {
        Driver killed;
        ASSERT_TRUE(killed.Started());
        while (!Exists(temporary) && killed.Running()) {
        }
        ASSERT_TRUE(killed.Running()) << "the run ended before it could be killed";
        killed.Kill();
    }
    EXPECT_TRUE(Exists(temporary));
    EXPECT_EQ(ReadBytes(names.Archive), earlier);
    EXPECT_EQ(support::CountFiles(kTarget), 2);
    EXPECT_FALSE(Exists(CopyTemporaryName(names.Staging)));
    EXPECT_TRUE(ReadBytes(names.Staging) == data);

    // The next backup fails before it packs (the database's server has it open), and still
    // takes the leftover away.
    FileHolder server(names.Source, "rw", "rw");
    ASSERT_TRUE(server.Held());
    Driver next;
    EXPECT_EQ(next.Wait(), 1);
    EXPECT_FALSE(Exists(temporary));
    EXPECT_EQ(ReadBytes(names.Archive), earlier);
    EXPECT_EQ(support::CountFiles(kTarget), 1);
}
