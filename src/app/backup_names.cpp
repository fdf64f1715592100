#include "app/backup_names.h"

#include "app/name_helpers.h"
#include "core/paths.h"

TBackupNames MakeBackupNames(const std::string& folder, const std::string& programFolder, const std::string& year,
                             TDateTime date) {
    TBackupNames n;
    n.Source = AddTrailingBackslash(programFolder) + kNameStem + year + kDatabaseExtension;
    n.Staging = std::string(kStagingFolder) + kNameStem + year + kDatabaseExtension;
    n.Archive = AddTrailingBackslash(folder) + kNameStem + year + "_" + DateStamp(date) + kArchiveExtension;
    return n;
}
