// snimanje_backup.exe: one backup as the dialog makes it, by the same job, without the dialog:
// for the benchmark of a whole backup and for tests that stop a backup from outside.
//
//   snimanje_backup [-n] DATABASE_FOLDER TARGET_FOLDER YEAR
//
// DATABASE_FOLDER stands for the dialog's own folder, which holds the year's database; the
// date is today's, as the dialog shows it. The staging copy goes to c:\temp_backup\ as the
// dialog's does, and the archive is read back before it is put in place as the dialog's is;
// -n skips the reading back, so that the benchmark can show what it costs. Prints the archive's
// full name. Exit code 0 on success; 1 for a failed backup,
// 2 for a command line or request that names none, each with its text (code page 1250) on
// standard error.
#include <iostream>
#include <string>

#include "app/backup_job.h"
#include "app/backup_outcome.h"
#include "archiver/vorbex.h"
#include "core/dates.h"
#include "core/paths.h"

int main(int argc, char** argv) {
    const bool readBack = !(argc > 1 && std::string(argv[1]) == "-n");
    char** args = argv + (readBack ? 1 : 2);
    if (argc - (args - argv) != 3) {
        std::cerr << "usage: snimanje_backup [-n] DATABASE_FOLDER TARGET_FOLDER YEAR\n";
        return 2;
    }
    // Set as the dialog's description sets its own (a test keeps them so).
    TVorbex archiver(nullptr);
    archiver.SetVerify(readBack);
    TSilentBackupObserver observer;
    TBackupJob job(archiver, observer);
    try {
        std::cout << job.Run({args[1], AddTrailingBackslash(args[0]), args[2], Today()}) << "\n";
    } catch (const EBackupInput& e) {
        std::cerr << e.Message() << "\n";
        return 2;
    } catch (const EBackupFailure& e) {
        std::cerr << FailedMessage(e) << "\n";
        return 1;
    }
    return 0;
}
