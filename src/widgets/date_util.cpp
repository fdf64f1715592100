#include "widgets/date_util.h"

#include <cmath>
#include <cstdio>

#include "core/text.h"

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Reads a decimal integer with an optional sign; false for anything else or an overflow.
bool ReadInteger(const std::string& s, int& value) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
        if (v > 1000000000) return false;
    }
    value = static_cast<int>(negative ? -v : v);
    return true;
}

// One field read by the places the format gives it: the first run of `count` letters `letter`.
int ReadFieldByFormat(const std::string& format, const std::string& text, char letter, int count, int fallback,
                      const TRegionalSettings& regional) {
    if (text.size() > format.size()) return fallback;
    const std::string run(static_cast<size_t>(count), letter);
    const std::string upperFormat = AsciiUpper(format);
    size_t start = upperFormat.find(run);
    if (start == std::string::npos) return fallback;

    std::string collected;
    for (size_t i = start; i < upperFormat.size() && upperFormat[i] == letter && i < text.size(); ++i)
        if (text[i] != ' ') collected += text[i];
    if (collected.empty()) return -1;

    if (count > 1) {
        for (int m = 0; m < 12; ++m) {
            const std::string& name = regional.LongMonthNames[static_cast<size_t>(m)];
            if (name.size() >= collected.size() && SameTextIgnoringCase(name.substr(0, collected.size()), collected))
                return m + 1;
        }
        return -1;
    }
    int value;
    return ReadInteger(collected, value) ? value : -1;
}

// Reads numbers and separators from a text left to right.
class TDateScanner {
public:
    TDateScanner(const std::string& text, char separator) : text_(text), separator_(separator) {}

    void SkipSpaces() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
    }
    void SkipToDigit() {
        while (pos_ < text_.size() && !IsDigit(text_[pos_])) ++pos_;
    }
    // At most four digits: the value stops growing once it reaches 1000.
    bool Number(int& value) {
        SkipSpaces();
        size_t begin = pos_;
        value = 0;
        while (pos_ < text_.size() && IsDigit(text_[pos_]) && value < 1000) value = value * 10 + (text_[pos_++] - '0');
        return pos_ > begin;
    }
    bool Separator() {
        SkipSpaces();
        if (pos_ < text_.size() && text_[pos_] == separator_) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool AtEnd() const { return pos_ >= text_.size(); }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    const std::string& text_;
    char separator_;
    size_t pos_ = 0;
};

bool ScanFreeDate(const std::string& format, const std::string& text, const TRegionalSettings& regional, int& year,
                  int& month, int& day) {
    const TDateOrder order = DateOrderOf(format);
    TDateScanner scan(text, regional.DateSeparator);
    year = month = day = 0;
    if (!regional.ShortDateFormat.empty() && regional.ShortDateFormat[0] == 'g') scan.SkipToDigit();

    int n1, n2, n3;
    if (!scan.Number(n1) || !scan.Separator() || !scan.Number(n2)) return false;
    if (scan.Separator()) {
        if (!scan.Number(n3)) return false;
        switch (order) {
            case TDateOrder::doMDY: month = n1, day = n2, year = n3; break;
            case TDateOrder::doDMY: day = n1, month = n2, year = n3; break;
            case TDateOrder::doYMD: year = n1, month = n2, day = n3; break;
        }
        year = ExpandTwoDigitYear(year);
    } else {
        year = CurrentYear();
        if (order == TDateOrder::doDMY)
            day = n1, month = n2;
        else
            month = n1, day = n2;
    }
    scan.Separator();
    scan.SkipSpaces();
    return IsValidYMD(year, month, day) && scan.AtEnd();
}

}  // namespace

bool FormatHasFourDigitYear(const std::string& shortDateFormat) {
    return AsciiUpper(shortDateFormat).find("YYYY") != std::string::npos;
}

bool FourDigitYearDefault() {
    static const bool fourDigits = FormatHasFourDigitYear(RegionalSettings().ShortDateFormat);
    return fourDigits;
}

TDateOrder DateOrderOf(const std::string& format) {
    for (char c : format) {
        switch (Upper(c)) {
            case 'D': return TDateOrder::doDMY;
            case 'M': return TDateOrder::doMDY;
            case 'Y':
            case 'E': return TDateOrder::doYMD;
            default: break;
        }
    }
    return TDateOrder::doDMY;
}

std::string DateFormatFor(TDateOrder order, bool fourDigitYear) {
    const char* year = fourDigitYear ? "YYYY" : "YY";
    switch (order) {
        case TDateOrder::doMDY: return std::string("MM/DD/") + year;
        case TDateOrder::doYMD: return std::string(year) + "/MM/DD";
        case TDateOrder::doDMY: break;
    }
    return std::string("DD/MM/") + year;
}

std::string DateTemplateFor(TDateOrder order, bool fourDigitYear, char blank) {
    std::string places;
    if (!fourDigitYear)
        places = "!99/99/99;1;";
    else if (order == TDateOrder::doYMD)
        places = "!9999/99/99;1;";
    else
        places = "!99/99/9999;1;";
    return places + blank;
}

int ExpandTwoDigitYear(int year) {
    if (year >= 100) return year;
    const int windowStart = CurrentYear() - 60;
    int century = windowStart / 100 * 100;
    if (windowStart < 0 && windowStart % 100 != 0) century -= 100;
    int expanded = year + century;
    if (expanded < windowStart) expanded += 100;
    return expanded;
}

bool IsValidYMD(int year, int month, int day) {
    // A negative field (an empty place) is far out of range, as any value above 16 bits is.
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

bool IsDateInRange(TDateTime date) {
    if (std::isnan(date)) return false;
    const double day = std::trunc(date);
    return day >= EncodeDate(1, 1, 1) && day <= EncodeDate(9999, 12, 31);
}

std::string FormatDateText(TDateTime date, const std::string& format, const TRegionalSettings& regional) {
    const TYMD ymd = DecodeDate(date);
    std::string out;
    for (size_t i = 0; i < format.size();) {
        const char letter = Upper(format[i]);
        size_t run = 1;
        while (i + run < format.size() && Upper(format[i + run]) == letter) ++run;
        char field[8];
        if (letter == 'D') {
            std::snprintf(field, sizeof field, "%02u", ymd.Day);
            out += field;
        } else if (letter == 'M') {
            std::snprintf(field, sizeof field, "%02u", ymd.Month);
            out += field;
        } else if (letter == 'Y') {
            if (run >= 3)
                std::snprintf(field, sizeof field, "%04u", ymd.Year);
            else
                std::snprintf(field, sizeof field, "%02u", ymd.Year % 100u);
            out += field;
        } else if (letter == '/') {
            out.append(run, regional.DateSeparator);
        } else {
            out.append(format, i, run);
        }
        i += run;
    }
    return out;
}

TParsedDate ParseDateText(const std::string& format, const std::string& text, const TRegionalSettings& regional) {
    if (text.empty()) return {true, NullDate};

    int month = ReadFieldByFormat(format, text, 'M', 3, 0, regional);
    if (month == 0) month = ReadFieldByFormat(format, text, 'M', 1, 0, regional);
    int day = ReadFieldByFormat(format, text, 'D', 1, 1, regional);
    int year = ExpandTwoDigitYear(ReadFieldByFormat(format, text, 'Y', 1, CurrentYear(), regional));
    if (!IsValidYMD(year, month, day) && !ScanFreeDate(format, text, regional, year, month, day)) return {};
    return {true, EncodeDate(year, month, day)};
}

TDateTime ParseDateTextOrDefault(const std::string& format, const std::string& text, TDateTime defaultDate,
                                 const TRegionalSettings& regional) {
    TParsedDate parsed = ParseDateText(format, text, regional);
    return parsed.Ok ? parsed.Date : std::trunc(defaultDate);
}
