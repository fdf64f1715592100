#include "app/backup_request.h"

#include "app/backup_names.h"
#include "app/backup_texts.h"
#include "core/archive_replacement.h"
#include "core/paths.h"

namespace {
bool IsFourDigitYear(const std::string& year) {
    if (year.size() != 4) return false;
    for (char c : year)
        if (c < '0' || c > '9') return false;
    return true;
}
}  // namespace

void CheckBackupRequest(const TBackupRequest& request) {
    if (request.Date == NullDate) throw EBackupInput(TBackupField::Date, kDateInvalidText);
    if (request.Folder.empty()) throw EBackupInput(TBackupField::Folder, kFolderMissingText);
    if (!IsFourDigitYear(request.Year)) throw EBackupInput(TBackupField::Year, kYearInvalidText);
    // Checked here, before any folder of it is made: the archive is written under its temporary
    // name, four characters longer than the archive's own.
    const TBackupNames names = MakeBackupNames(request.Folder, request.ProgramFolder, request.Year, request.Date);
    if (TemporaryArchiveName(names.Archive).size() > kLongestPath)
        throw EBackupInput(TBackupField::Folder, kFolderTooLongText);
}
