#pragma once
// The user's regional settings as the program holds them: read once from the locale and read
// again when the system reports changed settings. Date texts are built and read from these.
#include <array>
#include <string>

struct TRegionalSettings {
    std::string ShortDateFormat;              // as the locale writes it, e.g. "dd. MM. yyyy."
    char DateSeparator = '/';                 // the first character of the locale's separator
    std::array<std::string, 7> ShortDayNames;   // Sunday first
    std::array<std::string, 12> LongMonthNames; // January first
    char DecimalSeparator = '.';
};

// The values of the user's default locale.
TRegionalSettings ReadRegionalSettings();
// The values the program works with; read on first use.
const TRegionalSettings& RegionalSettings();
// Reads the locale again, e.g. after the system announced changed settings.
void ReloadRegionalSettings();
// Replaces the values the program works with (tests run fixed regional formats).
void SetRegionalSettings(const TRegionalSettings& settings);

// Texts compared by the user's locale without regard to case (month names, for instance).
bool SameTextIgnoringCase(const std::string& a, const std::string& b);
