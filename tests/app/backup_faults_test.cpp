// The whole backup under faults, driven through the dialog: each failure must end in the
// failure message with the earlier archive of the day whole and no temporary file left.
#include <gtest/gtest.h>

#include "app/test_files.h"

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "app/backup_names.h"
#include "app/form_snimanje_podataka.h"
#include "toolkit/application.h"
#include "toolkit/gui_input.h"
#include "toolkit/message_box_capture.h"
#include "widgets/directory_edit.h"

namespace {
using test_files::Exists;
using test_files::Read;
using test_files::Write;

const char* kProgramFolder = "c:\\reliability_test\\";
const char* kDatabase = "c:\\reliability_test\\BRODANIKVESTRA_G2024.fdb";
const char* kTarget = "c:\\reliability_test\\arhiva";
const char* kArchiveName = "BRODANIKVESTRA_G2024_05_03_2024.zip";
const char* kStaging = "c:\\temp_backup\\BRODANIKVESTRA_G2024.fdb";

// Bytes that deflate cannot shrink, so the archive is as large as the database.
std::string Incompressible(size_t size) {
    std::string s(size, '\0');
    uint32_t x = 2463534242u;
    for (char& c : s) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
    }
    return s;
}

std::string WindowsPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

void RemoveFolder(const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string full = path + "\\" + fd.cFileName;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (std::string(fd.cFileName) != "." && std::string(fd.cFileName) != "..") RemoveFolder(full);
                continue;
            }
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(full.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

std::string SettingsFile() {
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\app_tests.INI";
}

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
        savedClock = Clock().Now;
        Clock().Now = [] { return EncodeDate(2024, 3, 5) + 0.5; };
        RemoveFolder(kProgramFolder);
        CreateDirectoryA(kProgramFolder, nullptr);
        DeleteFileA(kStaging);
        DeleteFileA(SettingsFile().c_str());
    }
    void TearDown() override {
        Clock().Now = savedClock;
        RemoveFolder(kProgramFolder);
        DeleteFileA(kStaging);
        DeleteFileA(SettingsFile().c_str());
    }

    // One run of the program: the dialog shown, the folder typed, "&Snimi" pressed. Returns the
    // message the operator saw.
    std::string Backup(const std::string& folder) {
        MessageBoxCapture boxes;
        bool destroyed = false;
        auto* dialog = new TFSnimanjePodataka(nullptr);
        dialog->ProgramFileName = std::string(kProgramFolder) + "Snimanje.exe";
        new DestroyProbe(dialog, destroyed);
        dialog->Show();
        Application().ProcessMessages();
        dialog->DirectoryEdit1->SetText(folder);
        PressAltChar('s');
        Application().ProcessMessages();
        if (!destroyed) delete dialog;
        Application().ProcessMessages();
        return boxes.Boxes.size() == 1 ? boxes.Boxes[0].Text : "(" + std::to_string(boxes.Boxes.size()) + " messages)";
    }

    // The earlier backup of the day, whose archive every failure must leave as it was.
    std::string EarlierBackup(const std::string& folder) {
        Write(kDatabase, "the morning's data");
        EXPECT_EQ(Backup(folder), kSuccessMessage);
        return Read(Join(folder, kArchiveName));
    }

    void ExpectFailureKeepsEarlier(const std::string& folder, const std::string& earlier) {
        ExpectFailureKeepsEarlier(folder, earlier, Backup(folder));
    }
    void ExpectFailureKeepsEarlier(const std::string& folder, const std::string& earlier, const std::string& message) {
        EXPECT_EQ(message, kFailureMessage);
        EXPECT_EQ(Read(Join(folder, kArchiveName)), earlier);
        EXPECT_FALSE(Exists(Join(folder, std::string(kArchiveName) + ".tmp")));
    }

    class DestroyProbe : public TComponent {
    public:
        DestroyProbe(TComponent* owner, bool& destroyed) : TComponent(owner), destroyed_(destroyed) {}
        ~DestroyProbe() override { destroyed_ = true; }

    private:
        bool& destroyed_;
    };

    std::function<TDateTime()> savedClock;
};

}  // namespace

TEST_F(BackupFaultsTest, SecondBackupOfTheDayReplacesTheFirstWhole) {
    EarlierBackup(kTarget);
    std::string evening = Incompressible(300000) + "the evening's data";
    Write(kDatabase, evening);
    ASSERT_EQ(Backup(kTarget), kSuccessMessage);
    std::string archive = Join(kTarget, kArchiveName);
    std::string zip = Read(archive);
    EXPECT_NE(zip.find("BRODANIKVESTRA_G2024.fdb"), std::string::npos);
    EXPECT_GT(zip.size(), evening.size());  // the evening's data, not the morning's
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((std::string(kTarget) + "\\*.*").c_str(), &fd);
    int files = 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    EXPECT_EQ(files, 1);
    // Real readers check it after the run.
    std::string results = WindowsPath(APP_RESULTS_DIR);
    CreateDirectoryA(results.c_str(), nullptr);
    CopyFileA(archive.c_str(), Join(results, kArchiveName).c_str(), FALSE);
    Write(Join(results, std::string(kArchiveName) + ".expect"), "BRODANIKVESTRA_G2024.fdb\n");
}

TEST_F(BackupFaultsTest, HeldFilesEndInTheFailureMessage) {
    std::string archive = Join(kTarget, kArchiveName);
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
    std::string archive = Join(kTarget, kArchiveName);
    SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_READONLY);
    Write(kDatabase, "the evening's data");
    ExpectFailureKeepsEarlier(kTarget, earlier);
    EXPECT_TRUE(GetFileAttributesA(archive.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(BackupFaultsTest, VolumeThatFillsPartWay) {
    const std::string drive = "t:\\";
    ULARGE_INTEGER freeBytes, total;
    if (!GetDiskFreeSpaceExA(drive.c_str(), &freeBytes, &total, nullptr) || total.QuadPart > 16u << 20)
        GTEST_SKIP() << "no small volume on t: (the fault_volumes fixture needs root to mount it)";
    std::string archive = Join(drive, kArchiveName);
    SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(archive.c_str());
    std::string earlier = EarlierBackup(drive);
    ASSERT_FALSE(earlier.empty());
    Write(kDatabase, Incompressible(3u << 20));
    ExpectFailureKeepsEarlier(drive, earlier);
    DeleteFileA(archive.c_str());
}

TEST_F(BackupFaultsTest, ReadOnlyVolume) {
    std::string folder = WindowsPath(READONLY_VOLUME_DIR);
    std::string archive = Join(folder, kArchiveName);
    std::string probe = Join(folder, "probe");
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        DeleteFileA(probe.c_str());
    }
    if (h != INVALID_HANDLE_VALUE || !Exists(archive))
        GTEST_SKIP() << "no read-only volume with an earlier archive (the fault_volumes fixture needs root)";
    std::string earlier = Read(archive);
    Write(kDatabase, "the evening's data");
    ExpectFailureKeepsEarlier(folder, earlier);
}
