#include "app/retention.h"

#include "app/year_archives.h"
#include "core/move_over.h"
#include "core/paths.h"
#include "core/text.h"

TPrunedArchives PruneArchives(const std::string& justWritten, const std::string& year, int keep) {
    TPrunedArchives pruned;
    if (keep <= 0) return pruned;
    std::vector<TYearArchive> others;
    for (TYearArchive& a : ListYearArchives(ExtractFilePath(justWritten), year).Items)
        if (!SameTextAscii(a.Path, justWritten)) others.push_back(std::move(a));
    // The new archive is one of the kept; the rest are the newest of the others.
    const size_t keptOthers = static_cast<size_t>(keep - 1);
    if (others.size() <= keptOthers) return pruned;
    for (size_t i = 0; i < others.size() - keptOthers; ++i) {
        const TYearArchive& a = others[i];
        // A read-only archive was protected by its owner: it stays, as the replacement of the
        // day's archive keeps it.
        if (!a.ReadOnly && RemoveFile(a.Path)) {
            pruned.Removed.push_back(a.Path);
            pruned.FreedBytes += a.Size;
        } else {
            pruned.Left.push_back(a.Path);
        }
    }
    return pruned;
}
