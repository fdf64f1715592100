#pragma once
// The month calendar without its window: which day stands in which cell, which columns are
// weekend columns, and the moves by day, month and year. The grid window draws from it and
// feeds it clicks and keys.
#include <cstdint>
#include <functional>
#include <string>

#include "core/dates.h"
#include "core/regional.h"

enum TDayOfWeekName : uint8_t { Sun, Mon, Tue, Wed, Thu, Fri, Sat };
// Bit d set <=> weekday d (Sun = 0) is a member.
using TDaysOfWeek = uint8_t;
constexpr TDaysOfWeek DayBit(TDayOfWeekName d) { return static_cast<TDaysOfWeek>(1u << d); }

struct TGridCell {
    int Col = 0, Row = 0;
};

class TCalendarModel {
public:
    static constexpr int kColumns = 7;
    static constexpr int kRows = 7;  // row 0 names the weekdays

    TCalendarModel();

    TDateTime CalendarDate() const { return date_; }
    // A date outside 1 January 0001 .. 31 December 9999 is refused; the time part is dropped.
    void SetCalendarDate(TDateTime date);
    int Year() const { return ymd_.Year; }
    int Month() const { return ymd_.Month; }
    int Day() const { return ymd_.Day; }
    // Values below 1, and values that would leave the month or the date range, are ignored.
    void SetYear(int year);
    void SetMonth(int month);
    void SetDay(int day);

    TDayOfWeekName StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(TDayOfWeekName day);
    TDaysOfWeek Weekends() const { return weekends_; }
    void SetWeekends(TDaysOfWeek days);

    bool UseCurrentDate() const { return useCurrentDate_; }
    void SetUseCurrentDate(bool use);

    // Column of day 1 minus one; places day 1 in row 1 under its weekday.
    int MonthOffset() const { return monthOffset_; }
    // The day number a cell shows, 0 for the header row and for empty cells.
    int DayAt(TGridCell cell) const;
    TGridCell CellOfDay(int day) const;
    TGridCell SelectedCell() const { return CellOfDay(Day()); }
    // Weekday (Sun = 0) of a column.
    int WeekdayOfColumn(int col) const { return (col + startOfWeek_) % 7; }
    bool IsWeekendColumn(int col) const { return weekends_ & (1u << WeekdayOfColumn(col)); }
    std::string HeaderText(int col, const TRegionalSettings& regional) const;
    // "MMMM, YYYY": the long month name and the four-digit year.
    std::string Title(const TRegionalSettings& regional) const;
    bool IsToday(TGridCell cell) const;

    void PrevDay();
    void NextDay();
    void PrevMonth();
    void NextMonth();
    void PrevYear();
    void NextYear();
    void GoToToday();
    // A user's choice of a cell: false, and nothing changes, for the header and empty cells.
    bool SelectCell(TGridCell cell);
    // The grid's own cursor movement within the shown month.
    bool MoveSelection(int dCol, int dRow);

    // Raised after every change of the calendar date.
    std::function<void()> OnChange;

private:
    void Change(int year, int month, int day);
    void PlaceDays();

    TDateTime date_;
    TYMD ymd_;
    TDayOfWeekName startOfWeek_ = Mon;
    TDaysOfWeek weekends_ = DayBit(Sun);
    bool useCurrentDate_ = true;
    int monthOffset_ = 0;
};
