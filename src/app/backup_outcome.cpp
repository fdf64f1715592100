#include "app/backup_outcome.h"

#include "app/backup_texts.h"
#include "app/human_sizes.h"
#include "core/text.h"

std::string SavedMessage(const std::string& archive) {
    return std::string(kSuccessMessage) + "\n" + Format(kArchiveWrittenText, archive.c_str());
}

std::string FailedMessage(const EBackupFailure& failure) { return std::string(kFailureMessage) + "\n" + failure.Message(); }

std::string SavedMessage(const std::string& archive, const TPrunedArchives& pruned) {
    std::string lines = PrunedMessage(pruned);
    if (!lines.empty()) lines.pop_back();
    return SavedMessage(archive) + (lines.empty() ? "" : "\n") + lines;
}

std::string PrunedMessage(const TPrunedArchives& pruned) {
    std::string lines;
    if (!pruned.Removed.empty())
        lines += Format(kPrunedText, static_cast<int>(pruned.Removed.size()), SizeText(pruned.FreedBytes).c_str()) + "\n";
    for (const std::string& path : pruned.Left) lines += Format(kNotPrunedText, path.c_str()) + "\n";
    return lines;
}
