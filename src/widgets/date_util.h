#pragma once
// The rules by which the date edit writes and reads its text: the order of day, month and year
// taken from the regional short date format, the fixed-width format and input template built
// from it, the two-digit-year window, and the tolerant parser.
//
// The regional values come in as a parameter so that any regional format can be exercised;
// callers in the program pass the toolkit's RegionalSettings().
#include <string>

#include "core/dates.h"
#include "core/regional.h"

enum class TDateOrder { doMDY, doDMY, doYMD };

// True when the regional short date format, upper-cased, contains "YYYY"; decided once, at
// the first call, and kept for the life of the process.
bool FourDigitYearDefault();
bool FormatHasFourDigitYear(const std::string& shortDateFormat);

TDateOrder DateOrderOf(const std::string& format);
// "DD/MM/YYYY" and the like; "/" stands for the regional date separator.
std::string DateFormatFor(TDateOrder order, bool fourDigitYear);
// The edit's input template, e.g. "!99/99/9999;1;" followed by the blank character.
std::string DateTemplateFor(TDateOrder order, bool fourDigitYear, char blank);

// Two-digit years fall into the hundred years from sixty years ago to 39 years ahead.
int ExpandTwoDigitYear(int year);
bool IsValidYMD(int year, int month, int day);
// A date value between 1 January 0001 and 31 December 9999 (the time part aside); checked on
// the value itself, so that values far outside cannot wrap around into a valid-looking date.
bool IsDateInRange(TDateTime date);

// The date written with the format: two-digit day and month, a four- or two-digit year, the
// regional separator in place of "/"; the time part is dropped.
std::string FormatDateText(TDateTime date, const std::string& format, const TRegionalSettings& regional);

struct TParsedDate {
    bool Ok = false;
    TDateTime Date = NullDate;
};
// An empty text is NullDate. A text that fills the template is read by the places the format
// gives each field; anything else is read as numbers between date separators.
TParsedDate ParseDateText(const std::string& format, const std::string& text, const TRegionalSettings& regional);
TDateTime ParseDateTextOrDefault(const std::string& format, const std::string& text, TDateTime defaultDate,
                                 const TRegionalSettings& regional);
