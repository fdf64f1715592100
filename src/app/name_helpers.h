#pragma once
// The small text functions the backup dialog builds its file names with.
#include <cstdint>
#include <string>

#include "core/dates.h"

// Pads text with pad to length: mode 'l' in front, 'd' behind, 's' on alternate sides (front
// while the current length is even). Never shortens; any other mode leaves the text alone.
std::string PadText(std::string text, int32_t length, char mode, char pad);

uint16_t YearOfDate(TDateTime date);

// dd_mm_yyyy: day and month with two digits, the year as it is.
std::string DateStamp(TDateTime date);
