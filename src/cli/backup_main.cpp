// snimanje_backup.exe: one backup as the dialog makes it, by the same job, without the dialog:
// for the benchmark of a whole backup and for tests that stop a backup from outside.
//
//   snimanje_backup DATABASE_FOLDER TARGET_FOLDER YEAR
//
// DATABASE_FOLDER stands for the dialog's own folder, which holds the year's database; the
// date is today's, as the dialog shows it. The staging copy goes to c:\temp_backup\ as the
// dialog's does. Prints the archive's full name. Exit code 0 on success; 1 for a failed backup,
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
    if (argc != 4) {
        std::cerr << "usage: snimanje_backup DATABASE_FOLDER TARGET_FOLDER YEAR\n";
        return 2;
    }
    // A fresh component is set as the dialog's description sets its own (a test keeps them so).
    TVorbex archiver(nullptr);
    TSilentBackupObserver observer;
    TBackupJob job(archiver, observer);
    try {
        std::cout << job.Run({argv[2], AddTrailingBackslash(argv[1]), argv[3], Today()}) << "\n";
    } catch (const EBackupInput& e) {
        std::cerr << e.Message() << "\n";
        return 2;
    } catch (const EBackupFailure& e) {
        std::cerr << FailedMessage(e) << "\n";
        return 1;
    }
    return 0;
}
