// snimanje_backup.exe: one backup as the dialog makes it, by the same job, without the dialog:
// for the benchmark of a whole backup and for tests that stop a backup from outside.
//
//   snimanje_backup [-n] [-v] [--keep N] DATABASE_FOLDER TARGET_FOLDER YEAR
//   snimanje_backup --help
//
// DATABASE_FOLDER stands for the dialog's own folder, which holds the year's database; the
// date is today's, as the dialog shows it. The staging copy goes to c:\temp_backup\ as the
// dialog's does, and the archive is read back before it is put in place as the dialog's is;
// -n skips the reading back, so that the benchmark can show what it costs; -v prints on standard
// error the seconds each phase took, so that it can show where the time goes. Prints the archive's
// full name. Exit code 0 on success; 1 for a failed backup,
// 2 for a command line or request that names none, each with its text (code page 1250) on
// standard error.
//
// It is also the administrator's way to a daily backup from a scheduled task: --keep N keeps the
// newest N archives of the year (without it, the dialog's KeepArchives setting), and every run
// goes to the history log the dialog writes. A task may start it without a console or anyone
// at the desk: nothing it does may wait for a person.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

#include "app/backup_job.h"
#include "app/backup_outcome.h"
#include "app/backup_texts.h"
#include "app/retention.h"
#include "app/run_log.h"
#include "app/settings_location.h"
#include "archiver/vorbex.h"
#include "core/dates.h"
#include "core/ini_file.h"
#include "core/paths.h"
#include "core/text.h"

namespace {

// Prints each phase's name and seconds when the next one starts and when the backup ends.
class TPhaseTimes : public TBackupObserver {
public:
    bool Progress(TBackupPhase phase, uint64_t, uint64_t) override {
        if (!started_ || phase != phase_) {
            EndPhase();
            phase_ = phase;
            started_ = true;
            start_ = std::chrono::steady_clock::now();
        }
        return false;
    }

    void EndPhase() {
        if (!started_) return;
        started_ = false;
        static const char* const kNames[] = {"copying", "packing", "verifying"};
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start_;
        std::cerr << kNames[static_cast<int>(phase_)] << " " << Format("%.2f", took.count()) << " s\n";
    }

private:
    bool started_ = false;
    TBackupPhase phase_ = TBackupPhase::Copying;
    std::chrono::steady_clock::time_point start_;
};

// The command line's options and the three names; false for one that names no run.
struct TCommandLine {
    bool ReadBack = true, Timed = false, Help = false;
    int Keep = -1;  // -1: the settings file's
    std::string Args[3];
};

bool ParseCommandLine(int argc, char** argv, TCommandLine& line) {
    int names = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-n") {
            line.ReadBack = false;
        } else if (arg == "-v") {
            line.Timed = true;
        } else if (arg == "--help" || arg == "-h" || arg == "/?") {
            line.Help = true;
        } else if (arg == "--keep") {
            if (++i == argc) return false;
            char* end = nullptr;
            const long keep = std::strtol(argv[i], &end, 10);
            if (*argv[i] == 0 || *end != 0 || keep < 0 || keep > 100000) return false;
            line.Keep = static_cast<int>(keep);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return false;
        } else {
            if (names == 3) return false;
            line.Args[names++] = arg;
        }
    }
    return line.Help || names == 3;
}

// A console that the system made for this run alone (a scheduled task starts the program so)
// would stand open on the desk for as long as the backup runs; one it shares with the program
// that started it (a command prompt) is that program's.
void HideOwnConsole() {
    DWORD processes[2];
    HWND console = GetConsoleWindow();
    if (console && GetConsoleProcessList(processes, 2) == 1) ShowWindow(console, SW_HIDE);
}

}  // namespace

int main(int argc, char** argv) {
    // No box about a drive without a disk or a crash may wait for someone at an empty desk.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    HideOwnConsole();
    TCommandLine line;
    if (!ParseCommandLine(argc, argv, line)) {
        std::cerr << "usage: snimanje_backup [-n] [-v] [--keep N] DATABASE_FOLDER TARGET_FOLDER YEAR (--help)\n";
        return 2;
    }
    if (line.Help) {
        std::cout << kBackupToolHelpText;
        return 0;
    }
    // The dialog's settings file, whose folder holds the history log as well.
    const std::string settings = UserSettingsFile("Snimanje.INI");
    const int keep =
        line.Keep >= 0 ? line.Keep
                       : std::max(0, TIniFile(settings).ReadInteger("TFSnimanjePodataka", kKeepArchivesKey, 0));
    // Set as the dialog's description sets its own (a test keeps them so).
    TVorbex archiver(nullptr);
    archiver.Options()->SetShareMode(smShareDenyWrite);
    archiver.SetVerify(line.ReadBack);
    TSilentBackupObserver silent;
    TPhaseTimes phaseTimes;
    TBackupJob job(archiver, line.Timed ? static_cast<TBackupObserver&>(phaseTimes) : silent);
    job.LogTo(RunLogFile(settings));
    const std::string* args = line.Args;
    try {
        const std::string archive = job.Run({args[1], AddTrailingBackslash(args[0]), args[2], Today(), keep});
        std::cout << archive << "\n" << PrunedMessage(job.Pruned()) << std::flush;
        phaseTimes.EndPhase();
    } catch (const EBackupInput& e) {
        std::cerr << e.Message() << "\n";
        return 2;
    } catch (const EBackupFailure& e) {
        std::cerr << FailedMessage(e) << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << kFailureMessage << "\n" << e.what() << "\n";
        return 1;
    }
    return 0;
}
