#include "app/backup_request.h"

#include "app/backup_texts.h"

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
}
