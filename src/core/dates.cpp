#include "core/dates.h"

#include <cmath>

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Days from 0001-01-01 to 1899-12-30.
static constexpr int64_t kEpochOffset = 693593;

TDateTime EncodeDate(int year, int month, int day) {
    int64_t y = year - 1;
    int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
    days += day - 1;
    return static_cast<TDateTime>(days - kEpochOffset);
}

TYMD DecodeDate(TDateTime date) {
    int64_t t = static_cast<int64_t>(std::trunc(date)) + kEpochOffset;  // days since 0001-01-01
    if (t < 0) return {0, 0, 0};
    int64_t y = 1;
    int64_t n400 = t / 146097;
    t %= 146097;
    int64_t n100 = t / 36524;
    if (n100 == 4) n100 = 3;
    t -= n100 * 36524;
    int64_t n4 = t / 1461;
    t %= 1461;
    int64_t n1 = t / 365;
    if (n1 == 4) n1 = 3;
    t -= n1 * 365;
    y += n400 * 400 + n100 * 100 + n4 * 4 + n1;
    int m = 1;
    while (t >= DaysInMonth(static_cast<int>(y), m)) {
        t -= DaysInMonth(static_cast<int>(y), m);
        ++m;
    }
    return {static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(t + 1)};
}

int DayOfWeek(TDateTime date) {
    int64_t d = static_cast<int64_t>(std::trunc(date));
    // 30 December 1899 was a Saturday.
    int64_t w = ((d % 7) + 7 + 6) % 7;  // 0 = Sunday
    return static_cast<int>(w) + 1;
}

TClock& Clock() {
    static TClock clock{SystemNow};
    return clock;
}

TDateTime Now() { return Clock().Now(); }
TDateTime Today() { return std::trunc(Now()); }
int CurrentYear() { return DecodeDate(Now()).Year; }
