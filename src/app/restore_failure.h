#pragma once
// Why a restore failed, told in the operator's words with the path it concerns: the second line
// of the failure message. Every failure of a step of the restore becomes one of these here.
#include <exception>
#include <string>

#include "core/exceptions.h"

enum class TRestoreCause {
    ArchiveUnreadable,    // the archive cannot be opened or read
    ArchiveDamaged,       // its test found a fault (detail: which)
    NotADatabaseArchive,  // it does not hold exactly one year's database
    DatabaseInUse,        // another program has the current database open
    FileInUse,            // another program has the restore's temporary file (another restore)
    DiskFull,
    NotWritable,
    WrittenWrong,         // the restored file read back is not the entry
    Cancelled,
    Unexpected,
};

class ERestoreFailure : public Exception {
public:
    ERestoreFailure(TRestoreCause cause, std::string path, const std::string& detail = {});
    TRestoreCause Cause;
    std::string Path;
};

// What the step that failed was doing with path.
enum class TRestoreStep {
    Archive,   // opening or reading the archive
    Database,  // holding the current database or renaming it to its .bak
    Writing,   // the temporary file: written, read back, put in place
};

// Raises the failure that error stands for: an ERestoreFailure unchanged, anything else by its
// system error number and the step.
[[noreturn]] void RaiseRestoreFailure(std::exception_ptr error, TRestoreStep step, const std::string& path);
