#pragma once
// The month grid window: a header row of day names over six week rows, drawn from a
// TCalendarModel. TLocCalendar is the grid as the calendar popup uses it.
#include "toolkit/controls.h"
#include "widgets/calendar_model.h"

class TCalendarGrid : public TCustomControl {
public:
    explicit TCalendarGrid(TComponent* owner);

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TCalendarModel& Model() { return model_; }
    const TCalendarModel& Model() const { return model_; }
    TColor WeekendColor() const { return weekendColor_; }
    void SetWeekendColor(TColor color);
    void SetStartOfWeek(TDayOfWeekName day);
    void SetWeekends(TDaysOfWeek days);
    // Cells cannot be chosen with the mouse or the cursor keys while set.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { readOnly_ = v; }

    // Cell under a client point; row -1 when outside the grid.
    TGridCell CellAt(int x, int y) const;
    RECT CellRect(TGridCell cell) const;
    int ColWidth() const;
    int RowHeight() const;

    // The grid's own cursor keys: Up and Down one week, Left and Right one day, all within the
    // shown month. True when the key was one of them.
    bool CursorKey(WORD key);

    // After every change of the calendar date.
    TNotifyEvent OnChange;

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;
    void DrawCell(TGridCell cell, const RECT& r);
    // Vertical lines between the columns and lines under every row, or only the line under the
    // header row.
    bool AllGridLines = true;
    bool FrameToday = false;
    // The header row in the grid's colour instead of the button face.
    bool FixedRowInGridColor = false;
    // Set by a mouse press that chose a day cell, until the release.
    bool PressSelected = false;

private:
    void DateChanged();
    TCalendarModel model_;
    TColor weekendColor_ = clRed;
    bool readOnly_ = false;
};

class TLocCalendar : public TCalendarGrid {
public:
    explicit TLocCalendar(TComponent* owner);

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    bool CanFocus() const override { return false; }
    // A left release on the day the press chose, with no modifier or other button held.
    TNotifyEvent OnDayClicked;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
};
