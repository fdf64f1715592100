#pragma once
// The three file names one backup works with.
#include <string>

#include "core/dates.h"

// The fixed parts of the names (code page 1250).
inline constexpr const char* kStagingFolder = "c:\\temp_backup\\";
inline constexpr const char* kNameStem = "BRODANIKVESTRA_G";
inline constexpr const char* kDatabaseExtension = ".fdb";
inline constexpr const char* kArchiveExtension = ".zip";

struct TBackupNames {
    std::string Source;   // the year's database beside the program
    std::string Staging;  // its copy in the staging folder
    std::string Archive;  // the dated archive in the target folder, by its full name
};

// folder: the target folder text; programFolder: the program's folder; year: the year text as
// typed; date: the date whose stamp names the archive.
TBackupNames MakeBackupNames(const std::string& folder, const std::string& programFolder, const std::string& year,
                             TDateTime date);
