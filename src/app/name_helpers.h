#pragma once
// The small text functions the backup dialog builds its file names with.
#include <cstdint>
#include <string>

#include "core/dates.h"

// The text with one backslash at its end: unchanged when it already ends in one.
std::string AddTrailingBackslash(const std::string& folder);

// Pads text with pad to length: mode 'l' in front, 'd' behind, 's' on alternate sides (front
// while the current length is even). Never shortens; any other mode leaves the text alone.
std::string PadText(std::string text, int32_t length, char mode, char pad);

uint16_t YearOfDate(TDateTime date);

// dd_mm_yyyy: day and month with two digits, the year as it is.
std::string DateStamp(TDateTime date);

// Everything up to and including the last backslash or colon ("" when there is none).
std::string ExtractFilePath(const std::string& path);
