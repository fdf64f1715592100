#include "app/space_check.h"

#include "app/backup_failure.h"
#include "app/backup_texts.h"
#include "app/human_sizes.h"
#include "app/year_archives.h"
#include "core/disk_space.h"
#include "core/paths.h"
#include "core/text.h"

namespace {

std::string VolumeOf(const std::string& path) {
    const std::string full = FullPathName(path);
    return AddTrailingBackslash(DrivePartOf(full.empty() ? path : full));
}

bool SameVolume(const std::string& a, const std::string& b) { return SameTextAscii(VolumeOf(a), VolumeOf(b)); }

[[noreturn]] void RefuseSpace(const std::string& volume, const std::string& reason) {
    throw EBackupFailure(TFailureCause::NoSpace, volume, reason);
}

}  // namespace

uint64_t EstimateArchiveSize(const TBackupNames& names, const std::string& year, uint64_t databaseSize,
                             double lastRatio) {
    const TYearArchives earlier = ListYearArchives(ExtractFilePath(names.Archive), year);
    // The newest other than the archive of the day, which is replaced only once the new one is
    // complete, and which would be the same size.
    for (auto it = earlier.Items.rbegin(); it != earlier.Items.rend(); ++it)
        if (it->Size > 0) return it->Size;
    return lastRatio > 0 ? static_cast<uint64_t>(static_cast<double>(databaseSize) * lastRatio) : 0;
}

void CheckBackupSpace(const TBackupNames& names, const std::string& year, double lastRatio) {
    uint64_t databaseSize = 0;
    if (!FileSizeOf(names.Source, databaseSize)) return;
    uint64_t stagingFree = 0;
    if (FreeSpaceFor(ExtractFilePath(names.Staging), stagingFree) && stagingFree < databaseSize)
        RefuseSpace(VolumeOf(names.Staging),
                    Format(kNoSpaceForCopyText, SizeText(databaseSize, true).c_str(), SizeText(stagingFree).c_str()));

    const std::string folder = ExtractFilePath(names.Archive);
    const uint64_t estimate = EstimateArchiveSize(names, year, databaseSize, lastRatio);
    uint64_t targetFree = 0;
    if (estimate == 0 || !FreeSpaceFor(folder, targetFree)) return;
    // On one volume the copy takes its share of the space first.
    const uint64_t copy = SameVolume(names.Staging, folder) ? databaseSize : 0;
    const uint64_t refusedBelow = copy + estimate - static_cast<uint64_t>(static_cast<double>(estimate) * kArchiveEstimateMargin);
    if (targetFree >= refusedBelow) return;
    std::string reason =
        Format(kNoSpaceForArchiveText, SizeText(copy + estimate, true).c_str(), SizeText(targetFree).c_str());
    const TYearArchives older = ListYearArchives(folder, year);
    uint64_t olderBytes = 0;
    for (const TYearArchive& a : older.Items) olderBytes += a.Size;
    if (!older.Items.empty())
        reason += Format(kOlderArchivesText, folder.c_str(), static_cast<int>(older.Items.size()),
                         SizeText(olderBytes).c_str());
    RefuseSpace(VolumeOf(folder), reason);
}
