#include "core/regional.h"

#include <windows.h>

namespace {

std::string LocaleText(LCTYPE type, const char* fallback) {
    char buf[256];
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
    if (n <= 1) return fallback;
    return std::string(buf, static_cast<size_t>(n - 1));
}

}  // namespace

TRegionalSettings ReadRegionalSettings() {
    static const char* const englishDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const englishMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                                  "July",    "August",   "September", "October", "November", "December"};
    TRegionalSettings s;
    s.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE, "M/d/yyyy");
    s.DateSeparator = LocaleText(LOCALE_SDATE, "/")[0];
    s.DecimalSeparator = LocaleText(LOCALE_SDECIMAL, ".")[0];
    // The locale numbers its abbreviated day names from Monday.
    for (int day = 0; day < 7; ++day) {
        LCTYPE type = day == 0 ? LOCALE_SABBREVDAYNAME7 : LOCALE_SABBREVDAYNAME1 + day - 1;
        s.ShortDayNames[day] = LocaleText(type, englishDays[day]);
    }
    for (int month = 0; month < 12; ++month)
        s.LongMonthNames[month] = LocaleText(LOCALE_SMONTHNAME1 + month, englishMonths[month]);
    return s;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}
