#include "widgets/calendar_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "widgets/date_util.h"

TCalendarModel::TCalendarModel() : date_(Today()), ymd_(DecodeDate(date_)) { PlaceDays(); }

void TCalendarModel::SetCalendarDate(TDateTime date) {
    if (!IsDateInRange(date)) return;
    TYMD ymd = DecodeDate(date);
    useCurrentDate_ = false;
    Change(ymd.Year, ymd.Month, ymd.Day);
}

void TCalendarModel::SetYear(int year) {
    if (year < 1 || year > 9999) return;
    useCurrentDate_ = false;
    // Only a leap day can be missing in the new year; it becomes the month's last day.
    Change(year, ymd_.Month, std::min<int>(ymd_.Day, DaysInMonth(year, ymd_.Month)));
}

void TCalendarModel::SetMonth(int month) {
    if (month < 1 || month > 12) return;
    useCurrentDate_ = false;
    Change(ymd_.Year, month, std::min<int>(ymd_.Day, DaysInMonth(ymd_.Year, month)));
}

void TCalendarModel::SetDay(int day) {
    if (day < 1 || day > DaysInMonth(ymd_.Year, ymd_.Month)) return;
    useCurrentDate_ = false;
    Change(ymd_.Year, ymd_.Month, day);
}

void TCalendarModel::Change(int year, int month, int day) {
    if (year == ymd_.Year && month == ymd_.Month && day == ymd_.Day) return;
    ymd_ = {static_cast<uint16_t>(year), static_cast<uint16_t>(month), static_cast<uint16_t>(day)};
    date_ = EncodeDate(year, month, day);
    PlaceDays();
    if (OnChange) OnChange();
}

void TCalendarModel::SetStartOfWeek(TDayOfWeekName day) {
    if (day == startOfWeek_ || day > Sat) return;
    startOfWeek_ = day;
    PlaceDays();
}

void TCalendarModel::SetWeekends(TDaysOfWeek days) { weekends_ = days & 0x7F; }

void TCalendarModel::SetUseCurrentDate(bool use) {
    useCurrentDate_ = use;
    if (use) {
        TYMD today = DecodeDate(Today());
        Change(today.Year, today.Month, today.Day);
    }
}

void TCalendarModel::PlaceDays() {
    const int firstWeekday = DayOfWeek(EncodeDate(ymd_.Year, ymd_.Month, 1));  // Sunday = 1
    const int k = (firstWeekday - startOfWeek_ + 7) % 7;
    monthOffset_ = k == 0 ? -5 : 2 - k;
}

int TCalendarModel::DayAt(TGridCell cell) const {
    if (cell.Row < 1 || cell.Row >= kRows || cell.Col < 0 || cell.Col >= kColumns) return 0;
    const int n = cell.Col + monthOffset_ + 7 * (cell.Row - 1);
    return n >= 1 && n <= DaysInMonth(ymd_.Year, ymd_.Month) ? n : 0;
}

TGridCell TCalendarModel::CellOfDay(int day) const {
    // day - offset is at least 1 for every day of the month, so the division needs no floor.
    const int placed = day - monthOffset_;
    return {placed % 7, placed / 7 + 1};
}

std::string TCalendarModel::HeaderText(int col, const TRegionalSettings& regional) const {
    return regional.ShortDayNames[static_cast<size_t>(WeekdayOfColumn(col))];
}

std::string TCalendarModel::Title(const TRegionalSettings& regional) const {
    char year[8];
    std::snprintf(year, sizeof year, "%04d", ymd_.Year);
    return regional.LongMonthNames[static_cast<size_t>(ymd_.Month - 1)] + ", " + year;
}

bool TCalendarModel::IsToday(TGridCell cell) const {
    const int day = DayAt(cell);
    if (day == 0) return false;
    TYMD today = DecodeDate(Today());
    return today.Year == ymd_.Year && today.Month == ymd_.Month && today.Day == day;
}

void TCalendarModel::PrevDay() {
    if (ymd_.Day > 1)
        SetDay(ymd_.Day - 1);
    else
        SetCalendarDate(date_ - 1);
}

void TCalendarModel::NextDay() {
    if (ymd_.Day < DaysInMonth(ymd_.Year, ymd_.Month))
        SetDay(ymd_.Day + 1);
    else
        SetCalendarDate(date_ + 1);
}

void TCalendarModel::PrevMonth() {
    const int day = ymd_.Day;
    if (ymd_.Year == 1 && ymd_.Month == 1) return;
    TYMD reached = DecodeDate(EncodeDate(ymd_.Year, ymd_.Month, 1) - 1);
    useCurrentDate_ = false;
    Change(reached.Year, reached.Month, std::min<int>(day, reached.Day));
}

void TCalendarModel::NextMonth() {
    const int day = ymd_.Day;
    if (ymd_.Year == 9999 && ymd_.Month == 12) return;
    TYMD reached = DecodeDate(EncodeDate(ymd_.Year, ymd_.Month, DaysInMonth(ymd_.Year, ymd_.Month)) + 1);
    useCurrentDate_ = false;
    Change(reached.Year, reached.Month, std::min<int>(day, DaysInMonth(reached.Year, reached.Month)));
}

void TCalendarModel::PrevYear() {
    if (ymd_.Year <= 1) return;
    SetYear(ymd_.Year - 1);
}

void TCalendarModel::NextYear() {
    if (ymd_.Year >= 9999) return;
    SetYear(ymd_.Year + 1);
}

void TCalendarModel::GoToToday() { SetCalendarDate(Today()); }

bool TCalendarModel::SelectCell(TGridCell cell) {
    const int day = DayAt(cell);
    if (day == 0) return false;
    SetDay(day);
    return true;
}

bool TCalendarModel::MoveSelection(int dCol, int dRow) {
    TGridCell cell = SelectedCell();
    cell.Col += dCol;
    cell.Row += dRow;
    if (cell.Col < 0 || cell.Col >= kColumns) return false;
    return SelectCell(cell);
}
