#pragma once
// The shared date type: days since 30 December 1899 with the time of day as fraction.
#include <cstdint>
#include <functional>
#include <string>

using TDateTime = double;
constexpr TDateTime NullDate = 0.0;

struct TYMD {
    uint16_t Year, Month, Day;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12
// Whole days of a valid date (year 1..9999); the caller checks validity first.
TDateTime EncodeDate(int year, int month, int day);
// Proleptic Gregorian decomposition of the whole-day part.
TYMD DecodeDate(TDateTime date);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime date);

// The platform's local time, the clock's own until a test replaces it.
TDateTime SystemNow();
// The local clock. Tests replace it to fix "today" and "now".
struct TClock {
    std::function<TDateTime()> Now;
};
TClock& Clock();
TDateTime Now();
TDateTime Today();  // Now() without the time part
int CurrentYear();
