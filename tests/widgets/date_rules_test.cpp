// The date edit's text rules under fixed regional formats and a fixed clock.
#include <gtest/gtest.h>

#include <cmath>

#include "regional_formats.h"
#include "support/fixed_clock.h"
#include "widgets/date_util.h"

namespace {

struct DateCase {
    const char* text;
    int year, month, day;  // 0 0 0: reads as NullDate
};

void ExpectReads(const std::string& format, const TRegionalSettings& regional, const DateCase& c) {
    TDateTime expected = c.year ? EncodeDate(c.year, c.month, c.day) : NullDate;
    EXPECT_EQ(ParseDateTextOrDefault(format, c.text, NullDate, regional), expected) << "text '" << c.text << "'";
}

class DateRules : public ::testing::Test {
protected:
    support::FixedClock clock{2026, 12, 7};
};

TEST_F(DateRules, CroatianTextsRead) {
    const DateCase cases[] = {
        {"05.03.2024", 2024, 3, 5},
        {"5 .3 .2024", 2024, 3, 5},   // digits typed into the first places only
        {" 5. 3.2024", 2024, 3, 5},
        {"05.03.24", 2024, 3, 5},     // short text, year read positionally and expanded
        {"31.12.65", 2065, 12, 31},
        {"31.12.66", 1966, 12, 31},
        {"07.12.    ", 1999, 12, 7},  // blank year field is expanded like a two-digit one
        {"29.02.2024", 2024, 2, 29},
        {"5.3.2024", 2024, 3, 5},     // free scan
        {"5.3", 2026, 3, 5},          // two numbers: this year
        {"5.3.2024.", 2024, 3, 5},    // one trailing separator is allowed
        {" 5 . 3 . 2024 ", 2024, 3, 5},
        {"", 0, 0, 0},
        {"  .  .    ", 0, 0, 0},      // the empty template
        {"31.02.2024", 0, 0, 0},
        {"07.  .2026", 0, 0, 0},
        {"00.12.2026", 0, 0, 0},
        {"29.02.2023", 0, 0, 0},
        {"5.3.", 0, 0, 0},            // separator without a third number
        {"05.03.2024 x", 0, 0, 0},
        {"05.03.20245", 0, 0, 0},     // a fifth year digit is left unread
        {"05/03/2024", 2024, 3, 5},   // positional reading ignores the separator places
        {"5/3/2024", 0, 0, 0},        // ... the free scan does not
        {"5", 0, 0, 0},
    };
    for (const DateCase& c : cases) ExpectReads("DD/MM/YYYY", CroatianRegional(), c);
}

TEST_F(DateRules, YearMonthDayTwoDigitFormat) {
    const TRegionalSettings regional = YmdRegional();
    const std::string format = DateFormatFor(DateOrderOf(regional.ShortDateFormat), false);
    EXPECT_EQ(format, "YY/MM/DD");
    EXPECT_EQ(DateTemplateFor(TDateOrder::doYMD, false, ' '), "!99/99/99;1; ");
    EXPECT_EQ(FormatDateText(EncodeDate(2024, 3, 5), format, regional), "24.03.05");
    const DateCase cases[] = {
        {"24.03.05", 2024, 3, 5},
        {"2024.3.5", 2024, 3, 5},
        {"3.5", 2026, 3, 5},  // two numbers are month and day
        {"24.02.30", 0, 0, 0},
    };
    for (const DateCase& c : cases) ExpectReads(format, regional, c);
}

TEST_F(DateRules, MonthDayYearFormat) {
    const TRegionalSettings regional = MdyRegional();
    const std::string format = DateFormatFor(DateOrderOf(regional.ShortDateFormat), true);
    EXPECT_EQ(format, "MM/DD/YYYY");
    EXPECT_EQ(FormatDateText(EncodeDate(2024, 3, 5), format, regional), "03/05/2024");
    const DateCase cases[] = {
        {"03/05/2024", 2024, 3, 5},
        {"3/5/2024", 2024, 3, 5},
        {"3/5", 2026, 3, 5},
        {"13/05/2024", 0, 0, 0},
        {"3.5.2024", 0, 0, 0},
    };
    for (const DateCase& c : cases) ExpectReads(format, regional, c);
}

TEST_F(DateRules, MonthNamesInFormatsWithMMM) {
    // A format with MMM reads the month place as the beginning of a month name.
    const TRegionalSettings regional = CroatianRegional();
    EXPECT_EQ(ParseDateTextOrDefault("DD/MMM/YYYY", "05/O\x8eU/2024", NullDate, regional), EncodeDate(2024, 3, 5));
    EXPECT_EQ(ParseDateTextOrDefault("DD/MMM/YYYY", "05/o\x9eu/2024", NullDate, regional), EncodeDate(2024, 3, 5));
    EXPECT_EQ(ParseDateTextOrDefault("DD/MMM/YYYY", "05/xyz/2024", NullDate, regional), NullDate);
}

TEST_F(DateRules, FormattedDatesReadBack) {
    const TRegionalSettings regionals[] = {CroatianRegional(), YmdRegional(), MdyRegional()};
    for (const TRegionalSettings& regional : regionals) {
        for (bool four : {true, false}) {
            const std::string format = DateFormatFor(DateOrderOf(regional.ShortDateFormat), four);
            for (TDateTime d = EncodeDate(1966, 1, 1); d < EncodeDate(2066, 1, 1); d += 97) {
                std::string text = FormatDateText(d, format, regional);
                EXPECT_EQ(ParseDateTextOrDefault(format, text, NullDate, regional), d) << format << " " << text;
            }
        }
    }
}

TEST_F(DateRules, DefaultIsUsedWithoutItsTime) {
    const TDateTime now = EncodeDate(2026, 12, 7) + 0.6;
    EXPECT_EQ(ParseDateTextOrDefault("DD/MM/YYYY", "31.02.2024", now, CroatianRegional()), EncodeDate(2026, 12, 7));
}

TEST_F(DateRules, FormattingDropsTimeAndPadsYears) {
    const TRegionalSettings regional = CroatianRegional();
    EXPECT_EQ(FormatDateText(EncodeDate(2024, 3, 5) + 0.99, "DD/MM/YYYY", regional), "05.03.2024");
    EXPECT_EQ(FormatDateText(EncodeDate(5, 1, 9), "DD/MM/YYYY", regional), "09.01.0005");
    EXPECT_EQ(FormatDateText(EncodeDate(2005, 1, 9), "DD/MM/YY", regional), "09.01.05");
}

TEST_F(DateRules, TwoDigitYearWindow) {
    const struct {
        int in, out;
    } in2026[] = {{0, 2000}, {24, 2024}, {65, 2065}, {66, 1966}, {99, 1999}, {-1, 1999}, {100, 100}, {2024, 2024}};
    for (auto c : in2026) EXPECT_EQ(ExpandTwoDigitYear(c.in), c.out) << c.in;

    support::FixedClock later{2060, 1, 1};
    EXPECT_EQ(ExpandTwoDigitYear(0), 2000);
    EXPECT_EQ(ExpandTwoDigitYear(99), 2099);
    support::FixedClock earlier{1999, 6, 1};
    EXPECT_EQ(ExpandTwoDigitYear(39), 1939);
    EXPECT_EQ(ExpandTwoDigitYear(38), 2038);
}

TEST(DateValidity, DateValuesInRange) {
    EXPECT_TRUE(IsDateInRange(EncodeDate(1, 1, 1)));
    EXPECT_TRUE(IsDateInRange(EncodeDate(9999, 12, 31) + 0.99));
    EXPECT_FALSE(IsDateInRange(EncodeDate(1, 1, 1) - 1));
    EXPECT_FALSE(IsDateInRange(EncodeDate(9999, 12, 31) + 1));
    EXPECT_FALSE(IsDateInRange(1e9));  // would wrap around in a 16-bit year
    EXPECT_FALSE(IsDateInRange(std::nan("")));
}

TEST(DateValidity, YearMonthDay) {
    const struct {
        int y, m, d;
        bool valid;
    } cases[] = {
        {2024, 2, 29, true}, {2023, 2, 29, false}, {1900, 2, 29, false}, {2000, 2, 29, true},
        {2024, 4, 31, false}, {2024, 12, 31, true}, {2024, 13, 1, false}, {2024, 0, 1, false},
        {2024, 1, 0, false},  {1, 1, 1, true},      {9999, 12, 31, true}, {0, 12, 31, false},
        {10000, 1, 1, false}, {-1, 1, 1, false},    {2024, -1, 1, false}, {65537, 1, 1, false},
    };
    for (auto c : cases) EXPECT_EQ(IsValidYMD(c.y, c.m, c.d), c.valid) << c.y << "-" << c.m << "-" << c.d;
}

TEST(DateOrder, FromRegionalFormats) {
    const struct {
        const char* format;
        TDateOrder order;
    } cases[] = {
        {"dd. MM. yyyy.", TDateOrder::doDMY}, {"M/d/yyyy", TDateOrder::doMDY}, {"yy.MM.dd.", TDateOrder::doYMD},
        {"ee/MM/dd", TDateOrder::doYMD},      {"gg yyyy/M/d", TDateOrder::doYMD}, {"", TDateOrder::doDMY},
        {"--", TDateOrder::doDMY},
    };
    for (auto c : cases) EXPECT_EQ(DateOrderOf(c.format), c.order) << c.format;
}

TEST(DateOrder, FourDigitYears) {
    EXPECT_TRUE(FormatHasFourDigitYear("dd. MM. yyyy."));
    EXPECT_TRUE(FormatHasFourDigitYear("M/d/YYYY"));
    EXPECT_FALSE(FormatHasFourDigitYear("yy.MM.dd."));
}

}  // namespace

namespace {

// The date values are those that stored files and other programs use: day 0 is 30 December
// 1899, a Saturday.
TEST(DateValues, KnownDays) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(2024, 3, 5), 45356.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    TYMD null = DecodeDate(NullDate);
    EXPECT_EQ(null.Year * 10000 + null.Month * 100 + null.Day, 18991230);
    EXPECT_EQ(DayOfWeek(NullDate), 7);
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 1)), 3);  // a Tuesday
}

}  // namespace
