// snimanje_backup.exe, the backup job without the dialog: it must write what the dialog writes,
// and a run of it killed part-way shows what a killed backup leaves for the next one to remove.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/backup_names.h"
#include "app/backup_texts.h"
#include "app/run_log.h"
#include "app/form_snimanje_podataka.h"
#include "archiver/vorbex.h"
#include "core/archive_replacement.h"
#include "core/file_copy.h"
#include "core/paths.h"
#include "core/text.h"
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

// One run of the driver, its standard output and error read through a pipe.
class Driver {
public:
    // options: put in front of the folders. detached: as a scheduled task may start it, with no
    // console and no standard handles (its output is then lost).
    explicit Driver(const std::string& year = "2024", const std::string& options = "", bool detached = false) {
        std::string command = std::string("\"") + BACKUP_DRIVER_EXE + "\" " + options + " " + kProgramFolder + " " +
                              kTarget + " " + year;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (detached) {
            started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                                      nullptr, &si, &process_);
            return;
        }
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE write = nullptr;
        if (!CreatePipe(&read_, &write, &inherit, 1 << 16)) return;
        SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = si.hStdError = write;
        started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &process_);
        CloseHandle(write);
    }
    ~Driver() {
        if (read_) CloseHandle(read_);
        if (!started_) return;
        Kill();
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    bool Started() const { return started_; }
    // Everything the run wrote, once it has ended.
    std::string Output() {
        std::string text;
        char buffer[4096];
        DWORD got;
        while (read_ && ReadFile(read_, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
        return text;
    }
    // The exit code; -1 when it did not end within a minute.
    int Wait() {
        if (WaitForSingleObject(process_.hProcess, 60000) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<int>(code);
    }
    bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    void Kill() {
        TerminateProcess(process_.hProcess, 9);
        WaitForSingleObject(process_.hProcess, 10000);
    }

private:
    bool started_ = false;
    HANDLE read_ = nullptr;
    PROCESS_INFORMATION process_{};
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

TEST_F(BackupDriverTest, KeepsTheNewestArchivesWithoutAConsoleAndLogsTheRun) {
    WriteBytes(names.Source, "the day's data");
    support::FreshFolder(kTarget);
    const std::string lookAlike = JoinPath(kTarget, "BRODANIKVESTRA_G2024_01_01_2024 (1).zip");
    std::vector<std::string> earlier;
    for (int daysAgo : {3, 2, 1}) {
        earlier.push_back(MakeBackupNames(kTarget, kProgramFolder, "2024", Today() - daysAgo).Archive);
        WriteBytes(earlier.back(), "earlier");
    }
    WriteBytes(lookAlike, "mine");
    const std::string log = JoinPath(ExtractFilePath(DialogSettingsFile()), kRunLogName);
    const std::string logBefore = ReadBytes(log);
    {
        // A message box or a console read would keep it from ending.
        Driver task("2024", "--keep 2", true);
        ASSERT_TRUE(task.Started());
        EXPECT_EQ(task.Wait(), 0);
    }
    EXPECT_TRUE(Exists(names.Archive));
    EXPECT_EQ(Exists(earlier[0]) + Exists(earlier[1]) * 2 + Exists(earlier[2]) * 4, 4);
    EXPECT_TRUE(Exists(lookAlike));
    const std::string logAfter = ReadBytes(log);
    ASSERT_GT(logAfter.size(), logBefore.size());
    const std::string line = logAfter.substr(logBefore.size());
    EXPECT_NE(line.find(std::string("\t") + kOutcomeSavedText + "\t" + Format(kRemovedText, "")), std::string::npos)
        << line;

    // The administrator's ways of asking: the help, and a number that is none.
    Driver help("", "--help");
    EXPECT_EQ(help.Wait(), 0);
    EXPECT_EQ(help.Output().substr(0, 16), "snimanje_backup ");
    for (const char* bad : {"--keep x", "--keep -1", "--keep"}) {
        Driver refused("2024", bad);
        EXPECT_EQ(refused.Wait(), 2) << bad;
    }
}
