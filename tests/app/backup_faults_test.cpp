// The whole backup under faults, driven through the dialog: each failure must end in the
// failure message with the earlier archive of the day whole and no temporary file left.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/backup_names.h"
#include "app/form_snimanje_podataka.h"
#include "core/paths.h"
#include "support/files.h"
#include "support/fixed_clock.h"
#include "support/gui_input.h"
#include "support/message_box_capture.h"
#include "support/test_data.h"
#include "toolkit/application.h"
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

std::string WindowsPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string SettingsFile() { return support::WindowsFolderFile("app_tests.INI"); }

// Another process with the file open and no sharing, for as long as the object lives.
class FileHolder {
public:
    explicit FileHolder(const std::string& path) {
        std::string command = std::string("\"") + FILE_HOLDER_EXE + "\" \"" + path + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_))
            return;
        for (int i = 0; i < 100 && !held_; ++i) {
            HANDLE probe = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
            if (probe == INVALID_HANDLE_VALUE)
                held_ = GetLastError() == ERROR_SHARING_VIOLATION;
            else
                CloseHandle(probe);
            if (!held_) Sleep(50);
        }
    }
    ~FileHolder() {
        if (!process_.hProcess) return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    bool Held() const { return held_; }

private:
    PROCESS_INFORMATION process_{};
    bool held_ = false;
};

class BackupFaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDialogClasses();
        RemoveTree(kProgramFolder);
        CreateDirectoryA(kProgramFolder, nullptr);
        DeleteFileA(kStaging);
        DeleteFileA(SettingsFile().c_str());
    }
    void TearDown() override {
        RemoveTree(kProgramFolder);
        DeleteFileA(kStaging);
        DeleteFileA(SettingsFile().c_str());
    }

    // One run of the program: the dialog shown, the folder typed, "&Snimi" pressed. Returns the
    // message the operator saw.
    std::string Backup(const std::string& folder) {
        support::MessageBoxCapture boxes;
        bool destroyed = false;
        auto* dialog = new TFSnimanjePodataka(nullptr);
        dialog->ProgramFileName = std::string(kProgramFolder) + "Snimanje.exe";
        new DestroyProbe(dialog, destroyed);
        dialog->Show();
        Application().ProcessMessages();
        dialog->DirectoryEdit1->SetText(folder);
        support::PressAltChar('s');
        Application().ProcessMessages();
        if (!destroyed) delete dialog;
        Application().ProcessMessages();
        return boxes.Boxes.size() == 1 ? boxes.Boxes[0].Text : "(" + std::to_string(boxes.Boxes.size()) + " messages)";
    }

    // The earlier backup of the day, whose archive every failure must leave as it was.
    std::string EarlierBackup(const std::string& folder) {
        WriteBytes(kDatabase, "the morning's data");
        EXPECT_EQ(Backup(folder), kSuccessMessage);
        return ReadBytes(JoinPath(folder, kArchiveName));
    }

    void ExpectFailureKeepsEarlier(const std::string& folder, const std::string& earlier) {
        ExpectFailureKeepsEarlier(folder, earlier, Backup(folder));
    }
    void ExpectFailureKeepsEarlier(const std::string& folder, const std::string& earlier, const std::string& message) {
        EXPECT_EQ(message, kFailureMessage);
        EXPECT_EQ(ReadBytes(JoinPath(folder, kArchiveName)), earlier);
        EXPECT_FALSE(Exists(JoinPath(folder, std::string(kArchiveName) + ".tmp")));
    }

    class DestroyProbe : public TComponent {
    public:
        DestroyProbe(TComponent* owner, bool& destroyed) : TComponent(owner), destroyed_(destroyed) {}
        ~DestroyProbe() override { destroyed_ = true; }

    private:
        bool& destroyed_;
    };

    support::FixedClock clock{2024, 3, 5};
};

}  // namespace

TEST_F(BackupFaultsTest, SecondBackupOfTheDayReplacesTheFirstWhole) {
    EarlierBackup(kTarget);
    std::string evening = Incompressible(300000) + "the evening's data";
    WriteBytes(kDatabase, evening);
    ASSERT_EQ(Backup(kTarget), kSuccessMessage);
    std::string archive = JoinPath(kTarget, kArchiveName);
    std::string zip = ReadBytes(archive);
    EXPECT_NE(zip.find("BRODANIKVESTRA_G2024.fdb"), std::string::npos);
    EXPECT_GT(zip.size(), evening.size());  // the evening's data, not the morning's
    EXPECT_EQ(support::CountFiles(kTarget), 1);
    // Real readers check it after the run.
    std::string results = WindowsPath(APP_RESULTS_DIR);
    CreateDirectoryA(results.c_str(), nullptr);
    CopyFileA(archive.c_str(), JoinPath(results, kArchiveName).c_str(), FALSE);
    WriteBytes(JoinPath(results, std::string(kArchiveName) + ".expect"), "BRODANIKVESTRA_G2024.fdb\n");
}

TEST_F(BackupFaultsTest, HeldFilesEndInTheFailureMessage) {
    std::string archive = JoinPath(kTarget, kArchiveName);
    struct Case {
        const char* What;
        std::string Path;
    };
    for (const Case& c : {Case{"the database", kDatabase}, Case{"the staging copy", kStaging},
                          Case{"the earlier archive", archive}}) {
        SCOPED_TRACE(c.What);
        std::string earlier = EarlierBackup(kTarget);
        std::string message;
        {
            FileHolder holder(c.Path);
            ASSERT_TRUE(holder.Held());
            message = Backup(kTarget);
        }
        ExpectFailureKeepsEarlier(kTarget, earlier, message);
    }
}

TEST_F(BackupFaultsTest, ReadOnlyEarlierArchiveIsKept) {
    std::string earlier = EarlierBackup(kTarget);
    std::string archive = JoinPath(kTarget, kArchiveName);
    SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_READONLY);
    WriteBytes(kDatabase, "the evening's data");
    ExpectFailureKeepsEarlier(kTarget, earlier);
    EXPECT_TRUE(GetFileAttributesA(archive.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(BackupFaultsTest, VolumeThatFillsPartWay) {
    const std::string drive = "t:\\";
    ULARGE_INTEGER freeBytes, total;
    if (!GetDiskFreeSpaceExA(drive.c_str(), &freeBytes, &total, nullptr) || total.QuadPart > 16u << 20)
        GTEST_SKIP() << "no small volume on t: (the fault_volumes fixture needs root to mount it)";
    std::string archive = JoinPath(drive, kArchiveName);
    SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(archive.c_str());
    std::string earlier = EarlierBackup(drive);
    ASSERT_FALSE(earlier.empty());
    WriteBytes(kDatabase, Incompressible(3u << 20));
    ExpectFailureKeepsEarlier(drive, earlier);
    DeleteFileA(archive.c_str());
}

TEST_F(BackupFaultsTest, ReadOnlyVolume) {
    std::string folder = WindowsPath(READONLY_VOLUME_DIR);
    std::string archive = JoinPath(folder, kArchiveName);
    std::string probe = JoinPath(folder, "probe");
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        DeleteFileA(probe.c_str());
    }
    if (h != INVALID_HANDLE_VALUE || !Exists(archive))
        GTEST_SKIP() << "no read-only volume with an earlier archive (the fault_volumes fixture needs root)";
    std::string earlier = ReadBytes(archive);
    WriteBytes(kDatabase, "the evening's data");
    ExpectFailureKeepsEarlier(folder, earlier);
}
