// Placing of days and the calendar's moves, without a window.
#include <gtest/gtest.h>

#include <string>

#include "regional_formats.h"
#include "support/fixed_clock.h"
#include "widgets/calendar_model.h"

namespace {

// Row r of the grid as text: day numbers, "." for empty cells.
std::string RowText(const TCalendarModel& m, int row) {
    std::string s;
    for (int c = 0; c < 7; ++c) {
        int d = m.DayAt({c, row});
        s += (c ? " " : "") + (d ? std::to_string(d) : std::string("."));
    }
    return s;
}

TCalendarModel At(int y, int mo, int d, TDayOfWeekName start = Mon) {
    TCalendarModel m;
    m.SetStartOfWeek(start);
    m.SetCalendarDate(EncodeDate(y, mo, d));
    return m;
}

std::string Ymd(const TCalendarModel& m) {
    return std::to_string(m.Year()) + "-" + std::to_string(m.Month()) + "-" + std::to_string(m.Day());
}

class Calendar : public ::testing::Test {
protected:
    support::FixedClock clock{2026, 12, 7};
};

TEST_F(Calendar, PlacesDaysUnderTheirWeekdays) {
    TCalendarModel dec = At(2026, 12, 7);  // 1 December 2026 is a Tuesday
    EXPECT_EQ(RowText(dec, 0), ". . . . . . .");
    EXPECT_EQ(RowText(dec, 1), ". 1 2 3 4 5 6");
    EXPECT_EQ(RowText(dec, 5), "28 29 30 31 . . .");
    EXPECT_EQ(RowText(dec, 6), ". . . . . . .");

    TCalendarModel mar = At(2026, 3, 15);  // 1 March 2026 is a Sunday
    EXPECT_EQ(RowText(mar, 1), ". . . . . . 1");
    EXPECT_EQ(RowText(mar, 6), "30 31 . . . . .");
    mar.SetStartOfWeek(Sun);
    EXPECT_EQ(RowText(mar, 1), "1 2 3 4 5 6 7");
    EXPECT_EQ(mar.MonthOffset(), 1);

    // A 31-day month starting on the last column needs the sixth week row.
    TCalendarModel aug = At(2026, 8, 1, Sun);  // 1 August 2026 is a Saturday
    EXPECT_EQ(RowText(aug, 1), ". . . . . . 1");
    EXPECT_EQ(RowText(aug, 6), "30 31 . . . . .");
}

TEST_F(Calendar, EveryDayIsFoundInItsCell) {
    for (int start = Sun; start <= Sat; ++start)
        for (int month = 1; month <= 12; ++month) {
            TCalendarModel m = At(2027, month, 1, static_cast<TDayOfWeekName>(start));
            for (int day = 1; day <= DaysInMonth(2027, month); ++day) {
                TGridCell cell = m.CellOfDay(day);
                ASSERT_GE(cell.Row, 1);
                ASSERT_LE(cell.Row, 6);
                ASSERT_EQ(m.DayAt(cell), day) << month << "/" << day << " start " << start;
                ASSERT_EQ(m.WeekdayOfColumn(cell.Col), DayOfWeek(EncodeDate(2027, month, day)) - 1);
            }
        }
}

TEST_F(Calendar, HeaderAndWeekendColumns) {
    const TRegionalSettings hr = CroatianRegional();
    TCalendarModel m = At(2026, 12, 7);
    EXPECT_EQ(m.HeaderText(0, hr), "pon");
    EXPECT_EQ(m.HeaderText(6, hr), "ned");
    for (int c = 0; c < 7; ++c) EXPECT_EQ(m.IsWeekendColumn(c), c == 6) << c;
    m.SetStartOfWeek(Sun);
    m.SetWeekends(DayBit(Sat) | DayBit(Sun));
    EXPECT_EQ(m.HeaderText(0, hr), "ned");
    for (int c = 0; c < 7; ++c) EXPECT_EQ(m.IsWeekendColumn(c), c == 0 || c == 6) << c;
    EXPECT_EQ(m.Title(hr), "prosinac, 2026");
    EXPECT_EQ(At(5, 3, 1).Title(MdyRegional()), "March, 0005");
}

TEST_F(Calendar, TodaysCellOnlyInTodaysMonth) {
    TCalendarModel m = At(2026, 12, 20);
    EXPECT_TRUE(m.IsToday(m.CellOfDay(7)));
    EXPECT_FALSE(m.IsToday(m.CellOfDay(20)));
    m.NextMonth();
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c) EXPECT_FALSE(m.IsToday({c, r}));
}

TEST_F(Calendar, Moves) {
    const struct {
        int y, m, d;
        void (TCalendarModel::*move)();
        const char* result;
    } cases[] = {
        {2026, 1, 31, &TCalendarModel::NextMonth, "2026-2-28"},
        {2024, 1, 31, &TCalendarModel::NextMonth, "2024-2-29"},
        {2024, 3, 31, &TCalendarModel::PrevMonth, "2024-2-29"},
        {2023, 3, 31, &TCalendarModel::PrevMonth, "2023-2-28"},
        {2026, 12, 15, &TCalendarModel::NextMonth, "2027-1-15"},
        {2026, 1, 15, &TCalendarModel::PrevMonth, "2025-12-15"},
        {2024, 2, 29, &TCalendarModel::NextYear, "2025-2-28"},
        {2024, 2, 29, &TCalendarModel::PrevYear, "2023-2-28"},
        {2023, 2, 28, &TCalendarModel::NextYear, "2024-2-28"},
        {2026, 3, 1, &TCalendarModel::PrevDay, "2026-2-28"},
        {2026, 12, 31, &TCalendarModel::NextDay, "2027-1-1"},
        {2026, 12, 15, &TCalendarModel::NextDay, "2026-12-16"},
        {2026, 3, 20, &TCalendarModel::GoToToday, "2026-12-7"},
        // The ends of the date range are not crossed.
        {9999, 12, 31, &TCalendarModel::NextDay, "9999-12-31"},
        {9999, 12, 5, &TCalendarModel::NextMonth, "9999-12-5"},
        {9999, 6, 5, &TCalendarModel::NextYear, "9999-6-5"},
        {1, 1, 1, &TCalendarModel::PrevDay, "1-1-1"},
        {1, 1, 5, &TCalendarModel::PrevMonth, "1-1-5"},
        {1, 6, 5, &TCalendarModel::PrevYear, "1-6-5"},
        {1, 2, 5, &TCalendarModel::PrevMonth, "1-1-5"},
    };
    for (auto c : cases) {
        TCalendarModel m = At(c.y, c.m, c.d);
        (m.*c.move)();
        EXPECT_EQ(Ymd(m), c.result) << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST_F(Calendar, CursorMovesStayInsideTheMonth) {
    TCalendarModel m = At(2026, 11, 28);  // November has 30 days
    EXPECT_FALSE(m.MoveSelection(0, 1));
    EXPECT_EQ(m.Day(), 28);
    EXPECT_TRUE(m.MoveSelection(0, -1));
    EXPECT_EQ(m.Day(), 21);

    TCalendarModel dec = At(2026, 12, 3);   // row 1: . 1 2 3 4 5 6
    EXPECT_FALSE(dec.MoveSelection(0, -1)); // the header row
    dec.SetDay(1);
    EXPECT_FALSE(dec.MoveSelection(-1, 0)); // an empty cell
    dec.SetDay(6);
    EXPECT_FALSE(dec.MoveSelection(1, 0));  // no wrap past the last column
    EXPECT_TRUE(dec.MoveSelection(-1, 0));
    EXPECT_EQ(dec.Day(), 5);
    EXPECT_FALSE(dec.SelectCell({0, 1}));
    EXPECT_FALSE(dec.SelectCell({3, 0}));
    EXPECT_TRUE(dec.SelectCell({3, 2}));
    EXPECT_EQ(Ymd(dec), "2026-12-10");
}

TEST_F(Calendar, ChangeNotificationOnlyOnChange) {
    TCalendarModel m = At(2026, 12, 7);
    int changes = 0;
    m.OnChange = [&] { ++changes; };
    m.SetDay(7);
    m.SetDay(0);
    m.SetDay(32);
    m.SetMonth(13);
    m.SetYear(0);
    EXPECT_EQ(changes, 0);
    m.SetMonth(2);
    EXPECT_EQ(Ymd(m), "2026-2-7");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(m.UseCurrentDate());
    m.SetUseCurrentDate(true);
    EXPECT_EQ(Ymd(m), "2026-12-7");
    EXPECT_EQ(changes, 2);
}

}  // namespace
