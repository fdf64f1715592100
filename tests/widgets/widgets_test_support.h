#pragma once
// Fixed clocks and regional formats shared by the widget tests.
#include "core/dates.h"
#include "core/regional.h"

// Sets "now" for the life of the object (noon of the given day) and restores the clock after.
class FixedClock {
public:
    FixedClock(int year, int month, int day, double time = 0.5) : saved_(Clock().Now) {
        TDateTime now = EncodeDate(year, month, day) + time;
        Clock().Now = [now] { return now; };
    }
    ~FixedClock() { Clock().Now = saved_; }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

private:
    decltype(TClock::Now) saved_;
};

inline TRegionalSettings CroatianRegional() {
    TRegionalSettings s;
    s.ShortDateFormat = "dd. MM. yyyy.";
    s.DateSeparator = '.';
    s.DecimalSeparator = ',';
    s.ShortDayNames = {"ned", "pon", "uto", "sri", "\xe8" "et", "pet", "sub"};
    s.LongMonthNames = {"sije\xe8" "anj", "velja\xe8" "a", "o\x9eujak", "travanj", "svibanj", "lipanj",
                        "srpanj", "kolovoz", "rujan", "listopad", "studeni", "prosinac"};
    return s;
}

inline TRegionalSettings YmdRegional() {
    TRegionalSettings s = CroatianRegional();
    s.ShortDateFormat = "yy.MM.dd.";
    return s;
}

inline TRegionalSettings MdyRegional() {
    TRegionalSettings s;
    s.ShortDateFormat = "M/d/yyyy";
    s.DateSeparator = '/';
    s.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    s.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                        "July",    "August",   "September", "October", "November", "December"};
    return s;
}

// Installs a regional format as the program's own for the life of the object.
class ScopedRegional {
public:
    explicit ScopedRegional(const TRegionalSettings& s) : saved_(RegionalSettings()) { SetRegionalSettings(s); }
    ~ScopedRegional() { SetRegionalSettings(saved_); }
    ScopedRegional(const ScopedRegional&) = delete;
    ScopedRegional& operator=(const ScopedRegional&) = delete;

private:
    TRegionalSettings saved_;
};
