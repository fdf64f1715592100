// snimanje_backup.exe: one backup as the dialog makes it, by the same job, without the dialog:
// for the benchmark of a whole backup and for tests that stop a backup from outside.
//
//   snimanje_backup [-n] [-v] DATABASE_FOLDER TARGET_FOLDER YEAR
//   snimanje_backup --version
//
// DATABASE_FOLDER stands for the dialog's own folder, which holds the year's database; the
// date is today's, as the dialog shows it. The staging copy goes to c:\temp_backup\ as the
// dialog's does, and the archive is read back before it is put in place as the dialog's is;
// -n skips the reading back, so that the benchmark can show what it costs; -v prints on standard
// error the seconds each phase took, so that it can show where the time goes. Prints the archive's
// full name. Exit code 0 on success; 1 for a failed backup,
// 2 for a command line or request that names none, each with its text (code page 1250) on
// standard error.
#include <chrono>
#include <iostream>
#include <string>

#include "app/backup_job.h"
#include "app/backup_outcome.h"
#include "archiver/vorbex.h"
#include "core/dates.h"
#include "core/paths.h"
#include "core/text.h"
#include "snimanje_version.h"

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

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::cout << "snimanje_backup " << SNIMANJE_VERSION << "\n";
        return 0;
    }
    bool readBack = true, timed = false;
    int first = 1;
    for (; first < argc && argv[first][0] == '-' && argv[first][1] != 0 && argv[first][2] == 0; ++first) {
        if (argv[first][1] == 'n')
            readBack = false;
        else if (argv[first][1] == 'v')
            timed = true;
        else
            break;
    }
    char** args = argv + first;
    if (argc - first != 3) {
        std::cerr << "usage: snimanje_backup [-n] [-v] DATABASE_FOLDER TARGET_FOLDER YEAR\n";
        return 2;
    }
    // Set as the dialog's description sets its own (a test keeps them so).
    TVorbex archiver(nullptr);
    archiver.Options()->SetShareMode(smShareDenyWrite);
    archiver.SetVerify(readBack);
    TSilentBackupObserver silent;
    TPhaseTimes phaseTimes;
    TBackupJob job(archiver, timed ? static_cast<TBackupObserver&>(phaseTimes) : silent);
    try {
        const std::string archive = job.Run({args[1], AddTrailingBackslash(args[0]), args[2], Today()});
        std::cout << archive << std::endl;
        phaseTimes.EndPhase();
    } catch (const EBackupInput& e) {
        std::cerr << e.Message() << "\n";
        return 2;
    } catch (const EBackupFailure& e) {
        std::cerr << FailedMessage(e) << "\n";
        return 1;
    }
    return 0;
}
