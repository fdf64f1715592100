#pragma once
// The dated archives of one year in one folder: what the space check estimates from, what the
// retention rule may remove and what the dialog shows as the last backup. Only a file whose
// whole name is exactly an archive name of that year counts: "..._05_03_2024 (1).zip", ".ZIP",
// a folder of that name or a date that is not a date are the operator's, not the backup's.
#include <cstdint>
#include <string>
#include <vector>

#include "core/dates.h"

struct TYearArchive {
    std::string Path;        // full name
    TDateTime Date = NullDate;  // the date its name carries
    uint64_t Size = 0;
    uint64_t WriteTime = 0;  // the platform's ticks, to order two of one date
    bool ReadOnly = false;
};

struct TYearArchives {
    bool FolderFound = false;         // false: the folder is missing or cannot be listed
    std::vector<TYearArchive> Items;  // oldest first: by the date in the name, then by file time
};

// The date that fileName (without folder) carries when it is exactly
// BRODANIKVESTRA_G<year>_<dd>_<mm>_<yyyy>.zip, letter case included; NullDate otherwise.
TDateTime ArchiveNameDate(const std::string& fileName, const std::string& year);

TYearArchives ListYearArchives(const std::string& folder, const std::string& year);
