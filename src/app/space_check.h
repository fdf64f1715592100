#pragma once
// Whether a backup fits, asked before anything is written: a backup that fails minutes later,
// when the disk fills, costs the operator the wait and tells nothing new. The staging copy needs
// the database's size (an earlier copy of that name is replaced only once the new one is
// complete, so it is no free space); the archive is estimated, and the estimate errs on the side
// of trying: a volume that fills all the same fails as before, losing nothing.
#include <cstdint>
#include <string>

#include "app/backup_names.h"

// An archive is refused only when the space free is below its estimate less this share of it.
inline constexpr double kArchiveEstimateMargin = 0.125;

// lastRatio: the archive's size over the database's that the last backup of this year achieved
// (0: not known). Raises EBackupFailure (cause NoSpace) naming the volume, the space needed and
// free and, for the target, the older archives of the year there; does nothing when the
// database's size or a volume's free space cannot be had.
void CheckBackupSpace(const TBackupNames& names, const std::string& year, double lastRatio);

// The archive's estimate: the newest earlier archive of the year in the target folder, else the
// database's size times lastRatio; 0 when there is neither.
uint64_t EstimateArchiveSize(const TBackupNames& names, const std::string& year, uint64_t databaseSize,
                             double lastRatio);
