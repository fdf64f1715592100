#include "app/backup_outcome.h"

#include "app/backup_texts.h"
#include "core/text.h"

std::string SavedMessage(const std::string& archive) {
    return std::string(kSuccessMessage) + "\n" + Format(kArchiveWrittenText, archive.c_str());
}

std::string FailedMessage(const EBackupFailure& failure) { return std::string(kFailureMessage) + "\n" + failure.Message(); }
