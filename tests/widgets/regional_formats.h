#pragma once
// Regional formats the widget tests run under.
#include "core/regional.h"

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
