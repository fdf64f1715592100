#include "app/backup_names.h"

#include "app/name_helpers.h"
#include "core/paths.h"

TBackupNames MakeBackupNames(const std::string& folder, const std::string& programFolder, const std::string& year,
                             TDateTime date) {
    TBackupNames n;
    n.Source = AddTrailingBackslash(programFolder) + kNameStem + year + kDatabaseExtension;
    n.Staging = std::string(kStagingFolder) + kNameStem + year + kDatabaseExtension;
    // The operator is told the archive's full name: a relative folder or one typed with forward
    // slashes is named as the system resolves it.
    const std::string fullFolder = FullPathName(folder);
    n.Archive = AddTrailingBackslash(fullFolder.empty() ? folder : fullFolder) + kNameStem + year + "_" + DateStamp(date) + kArchiveExtension;
    return n;
}
