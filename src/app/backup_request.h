#pragma once
// What the operator asked to back up, as the dialog's fields give it, and the check that it can
// name a backup at all. An unreadable date would name the archive ..._30_12_1899.zip, and the
// year text goes into the names as typed (wildcards would act as wildcards); so both are refused
// before anything is copied or created.
#include <string>

#include "core/dates.h"
#include "core/exceptions.h"

struct TBackupRequest {
    std::string Folder;         // the target folder as typed
    std::string ProgramFolder;  // the folder that holds the program and the databases
    std::string Year;           // the year as typed
    TDateTime Date = NullDate;  // the date edit's value: NullDate when its text is empty or unreadable
    int Keep = 0;               // archives of the year kept in the folder, the new one among them; 0: all
};

// The dialog's fields, so that a refusal can put the focus where the correction is due.
enum class TBackupField { Date, Folder, Year };

// A field that cannot name a backup; the message (code page 1250) says what to type.
class EBackupInput : public Exception {
public:
    EBackupInput(TBackupField field, std::string message) : Exception(std::move(message)), Field(field) {}
    TBackupField Field;
};

// Raises EBackupInput for the first field, in the dialog's order, that cannot be used: a date
// that is not a date, an empty folder text, a year that is not four digits, a folder too long to
// hold the archive.
void CheckBackupRequest(const TBackupRequest& request);
