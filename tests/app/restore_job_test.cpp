// The restore of a year's database from an archive: the restored file is the database the
// archive holds (ours, zip -1's, 7z's, Python's), with the entry's time, and the current one is
// kept as a .bak; every refusal (the database held by another program, a damaged or foreign
// archive, a stop, no room, a volume that fills, a read-only folder) leaves the current database
// as it was and no file of the restore; a restore killed part-way leaves it whole, and the next
// restore removes what the killed one left.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/backup_job.h"
#include "app/restore_files.h"
#include "app/restore_job.h"
#include "archiver/vorbex.h"
#include "core/dates.h"
#include "core/paths.h"
#include "dialog_support.h"
#include "file_holder.h"
#include "support/files.h"
#include "support/test_data.h"

namespace {
using support::Exists;
using support::ReadBytes;
using support::WriteBytes;

const std::string kRoot = "c:\\restore_test";
const std::string kFolder = kRoot + "\\prog";
const std::string kEntry = "BRODANIKVESTRA_G2024.fdb";

std::string Corpus(const std::string& name) { return WindowsPath(ARCHIVER_CORPUS_DIR) + "\\" + name; }

class TObserver : public TRestoreObserver {
public:
    std::function<bool(TRestorePhase, uint64_t done, int call)> Then;
    bool Progress(TRestorePhase phase, uint64_t done, uint64_t) override {
        const int call = phase == TRestorePhase::Restoring ? ++restoring_ : 0;
        return Then && Then(phase, done, call);
    }

private:
    int restoring_ = 0;
};

// The names of the files in folder.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

uint64_t LastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
}

uint64_t DosTimeAsFileTime(uint16_t date, uint16_t time) {
    FILETIME local{}, utc{};
    DosDateTimeToFileTime(date, time, &local);
    LocalFileTimeToFileTime(&local, &utc);
    return (uint64_t{utc.dwHighDateTime} << 32) | utc.dwLowDateTime;
}

// Our own backup of the corpus's database, made by the dialog's job.
std::string OurArchive() {
    const std::string program = support::FreshFolder(kRoot + "\\program") + "\\";
    support::CopyFileTo(Corpus("restore_G2024.fdb"), program + kEntry);
    TVorbex archiver(nullptr);
    archiver.Options()->SetShareMode(smShareDenyWrite);
    archiver.SetVerify(true);
    // One thread: the fixture needs the archive, not the speed (and the emulated 32-bit Wine of
    // some test machines is slow to switch threads).
    archiver.SetDeflateWorkers(1);
    TSilentBackupObserver silent;
    return TBackupJob(archiver, silent).Run({kRoot + "\\arhiva", program, "2024", Today()});
}

class RestoreJobTest : public ::testing::Test {
protected:
    void SetUp() override { support::FreshFolder(kFolder); }
    void TearDown() override { support::RemoveTree(kRoot); }
};

}  // namespace

TEST_F(RestoreJobTest, BringsBackTheArchivesDatabaseAndKeepsTheCurrentOneAsABak) {
    const std::string original = ReadBytes(Corpus("restore_G2024.fdb"));
    const std::string database = JoinPath(kFolder, kEntry);
    for (const std::string& archive : {OurArchive(), Corpus("restore_zip1.zip"), Corpus("restore_7z.zip"),
                                       Corpus("restore_python.zip")}) {
        SCOPED_TRACE(archive);
        support::FreshFolder(kFolder);
        WriteBytes(database, "the current database of " + archive);
        TSilentRestoreObserver silent;
        TRestoreJob job(silent);
        const TRestoreResult result = job.Run(archive, kFolder);
        EXPECT_EQ(result.Database, database);
        EXPECT_TRUE(ReadBytes(database) == original);
        EXPECT_EQ(ReadBytes(result.Backup), "the current database of " + archive);
        EXPECT_EQ(result.Backup.rfind(database + ".", 0), 0u) << result.Backup;
        EXPECT_EQ(result.Backup.substr(result.Backup.size() - 4), ".bak");
        const TRestoreCandidate candidate = ReadRestoreCandidate(archive, kFolder);
        EXPECT_EQ(LastWriteTime(database), DosTimeAsFileTime(candidate.Date, candidate.Time));

        // Again at once: the first .bak stays, the second gets a name of its own.
        const TRestoreResult again = job.Run(archive, kFolder);
        EXPECT_NE(again.Backup, result.Backup);
        EXPECT_TRUE(ReadBytes(again.Backup) == original);
        EXPECT_EQ(ReadBytes(result.Backup), "the current database of " + archive);
        EXPECT_EQ(FilesIn(kFolder).size(), 3u);
    }
    // No current database: nothing to keep.
    support::FreshFolder(kFolder);
    TSilentRestoreObserver silent;
    const TRestoreResult result = TRestoreJob(silent).Run(Corpus("restore_zip1.zip"), kFolder);
    EXPECT_EQ(result.Backup, "");
    EXPECT_TRUE(ReadBytes(database) == original);
    EXPECT_EQ(FilesIn(kFolder).size(), 1u);
}

namespace {

enum class Where { Folder, FullVolume, ReadOnlyVolume };
enum class Block {
    None, HeldReading, HeldWriting, Damaged, TwoEntries, NotAnArchive, StopTesting, StopWriting, NoRoom, FillsPartWay
};

struct RefusalCase {
    const char* Name;
    Where Folder;
    Block Obstacle;
    TRestoreCause Cause;
};

// The folder the case restores into; "" when its volume is missing.
std::string FolderOf(Where where) {
    switch (where) {
        case Where::Folder: return kFolder;
        case Where::FullVolume: {
            ULARGE_INTEGER available, total;
            if (!GetDiskFreeSpaceExA("t:\\", &available, &total, nullptr) || total.QuadPart > 16u << 20) return "";
            return "t:\\restore";
        }
        case Where::ReadOnlyVolume: {
            const std::string folder = WindowsPath(READONLY_VOLUME_DIR);
            return Exists(JoinPath(folder, kEntry)) ? folder : "";
        }
    }
    return "";
}

// Fills the volume of folder but for keep bytes.
void Fill(const std::string& folder, uint64_t keep) {
    ULARGE_INTEGER available{}, total{};
    GetDiskFreeSpaceExA(folder.c_str(), &available, &total, nullptr);
    if (available.QuadPart > keep) WriteBytes(JoinPath(folder, "filler"), std::string(available.QuadPart - keep, 'f'));
}

class RefusalTest : public RestoreJobTest, public ::testing::WithParamInterface<RefusalCase> {};

}  // namespace

TEST_P(RefusalTest, LeavesTheCurrentDatabaseAsItWasAndNoFileOfItsOwn) {
    const RefusalCase& c = GetParam();
    const std::string folder = FolderOf(c.Folder);
    if (folder.empty()) GTEST_SKIP() << "no fault volume (the fault_volumes fixture needs root to mount it)";
    const std::string database = JoinPath(folder, kEntry);
    if (c.Folder == Where::FullVolume) {
        support::FreshFolder(folder);
        WriteBytes(database, "the current database");
    } else if (c.Folder == Where::Folder) {
        WriteBytes(database, "the current database");
    }
    const std::string current = ReadBytes(database);
    const std::vector<std::string> before = FilesIn(folder);

    std::string archive = Corpus("restore_zip1.zip");
    std::unique_ptr<FileHolder> holder;
    TObserver observer;
    switch (c.Obstacle) {
        case Block::None: break;
        case Block::HeldReading: holder = std::make_unique<FileHolder>(database, "r", "rwd"); break;
        case Block::HeldWriting: holder = std::make_unique<FileHolder>(database, "rw", "rw"); break;
        case Block::Damaged: {
            std::string bytes = ReadBytes(archive);
            bytes[bytes.size() / 2] ^= 0x10;
            archive = kRoot + "\\damaged.zip";
            WriteBytes(archive, bytes);
            break;
        }
        case Block::TwoEntries: archive = Corpus("infozip.zip"); break;
        case Block::NotAnArchive: archive = Corpus("not_a_zip.bin"); break;
        case Block::StopTesting:
            observer.Then = [](TRestorePhase phase, uint64_t, int) { return phase == TRestorePhase::Testing; };
            break;
        case Block::StopWriting: observer.Then = [](TRestorePhase, uint64_t, int call) { return call == 2; }; break;
        case Block::NoRoom: Fill(folder, 500000); break;
        case Block::FillsPartWay:
            // Once the room has been checked, as another program's writing would.
            observer.Then = [&](TRestorePhase, uint64_t, int call) {
                if (call == 2) Fill(folder, 300000);
                return false;
            };
            break;
    }
    if (holder) {
        ASSERT_TRUE(holder->Held());
    }
    try {
        TRestoreJob(observer).Run(archive, folder);
        ADD_FAILURE() << "restored";
    } catch (const ERestoreFailure& e) {
        EXPECT_EQ(static_cast<int>(e.Cause), static_cast<int>(c.Cause)) << e.Message();
        const bool aboutArchive =
            c.Cause == TRestoreCause::ArchiveDamaged || c.Cause == TRestoreCause::NotADatabaseArchive;
        EXPECT_EQ(e.Path, aboutArchive ? archive : database);
    }
    holder.reset();
    DeleteFileA(JoinPath(folder, "filler").c_str());
    EXPECT_EQ(ReadBytes(database), current);
    EXPECT_EQ(FilesIn(folder), before);
    if (c.Folder == Where::FullVolume) support::RemoveTree(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusalTest,
    ::testing::Values(
        RefusalCase{"HeldByAReader", Where::Folder, Block::HeldReading, TRestoreCause::DatabaseInUse},
        RefusalCase{"HeldByItsServer", Where::Folder, Block::HeldWriting, TRestoreCause::DatabaseInUse},
        RefusalCase{"DamagedArchive", Where::Folder, Block::Damaged, TRestoreCause::ArchiveDamaged},
        RefusalCase{"ArchiveOfSeveralFiles", Where::Folder, Block::TwoEntries, TRestoreCause::NotADatabaseArchive},
        RefusalCase{"NoArchive", Where::Folder, Block::NotAnArchive, TRestoreCause::ArchiveDamaged},
        RefusalCase{"StopWhileTesting", Where::Folder, Block::StopTesting, TRestoreCause::Cancelled},
        RefusalCase{"StopWhileWriting", Where::Folder, Block::StopWriting, TRestoreCause::Cancelled},
        RefusalCase{"NoRoom", Where::FullVolume, Block::NoRoom, TRestoreCause::DiskFull},
        RefusalCase{"VolumeFillsPartWay", Where::FullVolume, Block::FillsPartWay, TRestoreCause::DiskFull},
        RefusalCase{"ReadOnlyFolder", Where::ReadOnlyVolume, Block::None, TRestoreCause::NotWritable}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.Name); });

namespace {

// snimanje_backup.exe --restore, its output left to the test's own; killed if still running.
class RestoreRun {
public:
    RestoreRun(const std::string& archive, const std::string& folder) {
        std::string command = std::string("\"") + BACKUP_DRIVER_EXE + "\" --restore " + archive + " " + folder;
        STARTUPINFOA si{sizeof si};
        started_ =
            CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_);
    }
    ~RestoreRun() {
        if (!started_) return;
        Kill();
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    bool Started() const { return started_; }
    bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    // The exit code; -1 when it did not end within a minute.
    int Wait() {
        DWORD code = 0;
        if (WaitForSingleObject(process_.hProcess, 60000) != WAIT_OBJECT_0) return -1;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<int>(code);
    }
    void Kill() {
        TerminateProcess(process_.hProcess, 9);
        WaitForSingleObject(process_.hProcess, 10000);
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION process_{};
};

}  // namespace

TEST_F(RestoreJobTest, AKilledRestoreLeavesTheDatabaseWholeAndTheNextOneRemovesItsLeftover) {
    const std::string source = support::FreshFolder(kRoot + "\\source");
    const std::string data = support::NoiseBytes(32u << 20);
    WriteBytes(JoinPath(source, kEntry), data);
    const std::string archive = kRoot + "\\big.zip";
    {
        // Stored: written and restored quickly, so that the kill meets the restore's writing.
        TVorbex v(nullptr);
        v.SetCompressionMode(0);
        v.SetFileName(archive);
        v.Open(fmCreate);
        v.SetBaseDir(source);
        v.AddMatchingFiles(kEntry, 63, "");
        v.Close();
    }
    const std::string database = JoinPath(kFolder, kEntry);
    WriteBytes(database, "the current database");
    const std::string temporary = RestoreTemporaryName(database);
    {
        RestoreRun killed(archive, kFolder);
        ASSERT_TRUE(killed.Started());
        while (!Exists(temporary) && killed.Running()) {
        }
        ASSERT_TRUE(killed.Running()) << "the restore ended before it could be killed";
        killed.Kill();
    }
    EXPECT_EQ(ReadBytes(database), "the current database");
    EXPECT_TRUE(Exists(temporary));

    // The next restore is refused (a reader has the database), and still takes the leftover away.
    {
        FileHolder reader(database, "r", "rwd");
        ASSERT_TRUE(reader.Held());
        RestoreRun refused(archive, kFolder);
        EXPECT_EQ(refused.Wait(), 1);
    }
    EXPECT_FALSE(Exists(temporary));
    EXPECT_EQ(FilesIn(kFolder), std::vector<std::string>{kEntry});
    RestoreRun next(archive, kFolder);
    EXPECT_EQ(next.Wait(), 0);
    EXPECT_TRUE(ReadBytes(database) == data);
    EXPECT_EQ(FilesIn(kFolder).size(), 2u);
}
