#include "app/restore_outcome.h"

#include "app/backup_texts.h"
#include "app/restore_texts.h"
#include "core/text.h"

std::string RestoredMessage(const TRestoreResult& result) {
    return std::string(kRestoredMessage) + "\n" + Format(kRestoredDatabaseText, result.Database.c_str()) + "\n" +
           (result.Backup.empty() ? std::string(kNoEarlierText) : Format(kEarlierKeptText, result.Backup.c_str()));
}

std::string RestoreFailedMessage(const ERestoreFailure& failure) {
    // A stop the operator asked for is no failure, and its line says the database is unchanged.
    if (failure.Cause == TRestoreCause::Cancelled) return failure.Message();
    return std::string(kRestoreFailedMessage) + "\n" + failure.Message() + "\n" + kDatabaseUnchangedText;
}

std::string ArchiveSoundMessage(const std::string& archive) {
    return std::string(kArchiveSoundMessage) + "\n" + Format(kArchiveWrittenText, archive.c_str());
}

std::string ArchiveUnsoundMessage(const ERestoreFailure& failure) {
    return std::string(kArchiveUnsoundMessage) + "\n" + failure.Message();
}
