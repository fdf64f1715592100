#pragma once
// Why a backup failed, told in the operator's words with the path it concerns. Every failure of
// a step (the system's error numbers, stream and archiver errors) is turned into one of these
// causes here and nowhere else.
#include <exception>
#include <string>

#include "core/exceptions.h"

enum class TFailureCause {
    DatabaseMissing,
    DatabaseInUse,
    DatabaseUnreadable,
    FolderNotCreated,
    NotWritable,
    DiskFull,
    FileInUse,
    VerificationFailed,
    Cancelled,
    Unexpected,
};

// What the failing step did with its path; the same error number means different things for
// each (a path not found is a missing database when reading it, a folder that cannot be made
// when making it).
enum class TFileRole {
    Database,  // reading the year's database
    Folder,    // making a folder with its parents
    File,      // the staging copy or the archive: written, replaced or read back
};

// Its message is the second line of the failure message. detail: the system's own words, kept
// for a cause the operator cannot otherwise be told.
class EBackupFailure : public Exception {
public:
    EBackupFailure(TFailureCause cause, std::string path, const std::string& detail = {});
    TFailureCause Cause;
    std::string Path;
};

// The operator (through the backup's observer) stopped the backup; archive: the archive that
// was not replaced.
class EBackupCancelled : public EBackupFailure {
public:
    explicit EBackupCancelled(std::string archive) : EBackupFailure(TFailureCause::Cancelled, std::move(archive)) {}
};

// The system's error number an exception carries; 0 when it carries none.
unsigned long SystemErrorOf(std::exception_ptr error);

// The cause of a system error number (0: none known) for a step with that role.
TFailureCause CauseOfSystemError(unsigned long code, TFileRole role);

// Raises the failure that error stands for: an EBackupFailure unchanged, anything else mapped
// by its error number and the step's role.
[[noreturn]] void RaiseBackupFailure(std::exception_ptr error, TFileRole role, const std::string& path);
