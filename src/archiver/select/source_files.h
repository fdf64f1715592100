#pragma once
// What the file selection asks of the file system: folder listings with attributes, and the
// attributes and last-write time of one path, in the MS-DOS date-time form of ZIP headers.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "archiver/common.h"

struct TFoundEntry {
    std::string Name;     // as the listing spells it
    uint32_t Attributes;  // the platform's full attribute word
};

// Lists every entry of folder (hidden, system and folders included) in the platform's order;
// false when the listing cannot start.
bool ListFolder(const std::string& folder, const std::function<void(const TFoundEntry&)>& onEntry);

struct TPathInfo {
    uint32_t Attributes;
    uint32_t DosDateTime;  // last-write time in local time; date word in the high half
};
std::optional<TPathInfo> PathInfo(const std::string& path);

// The current local date and time as an MS-DOS date-time.
uint32_t DosDateTimeNow();
