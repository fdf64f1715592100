#pragma once
// The history of backups: one line per run, from the dialog or the command line, in Snimanje.log
// beside the settings file. Code page 1250, CRLF and tabs between the fields, so that Notepad
// shows it; the line of a run that ended says when it started, the year, the archive's full
// name, the database's and the archive's size in bytes, the seconds, the outcome and the cause
// (or the archives the kept number removed).
#include <cstdint>
#include <string>

#include "core/dates.h"

enum class TRunOutcome { Saved, Failed, Refused, Stopped };

struct TRunRecord {
    TDateTime Started = NullDate;  // local time
    std::string Year;
    std::string Archive;
    uint64_t DatabaseSize = 0;
    uint64_t ArchiveSize = 0;  // 0 unless the archive was written
    double Seconds = 0;
    TRunOutcome Outcome = TRunOutcome::Failed;
    std::string Detail;  // the cause, or what was removed; line ends and tabs become spaces
};

// A log that has reached this size is kept as its one earlier file (Snimanje.old.log) and
// begun anew, so the two never take more than about twice this.
inline constexpr uint64_t kRunLogLimit = 1u << 20;

inline constexpr const char* kRunLogName = "Snimanje.log";
inline constexpr const char* kEarlierRunLogName = "Snimanje.old.log";

// The log beside settingsFile; "" for a settings file without a folder (the Windows folder,
// which a standard user cannot write).
std::string RunLogFile(const std::string& settingsFile);

std::string RunLogLine(const TRunRecord& record);

// Never raises and never fails the backup: a log that cannot be written is left as it is.
void AppendRunLog(const std::string& logFile, const TRunRecord& record);

// The archive's size over the database's in the log's last successful run of year; 0 when
// there is none (or no log).
double LastCompressionRatio(const std::string& logFile, const std::string& year);
