#include "widgets/calendar_grid.h"

#include <algorithm>

TCalendarGrid::TCalendarGrid(TComponent* owner) : TCustomControl(owner) {
    model_.OnChange = [this] { DateChanged(); };
    SetColor(clWindow);
    SetTabStop(true);
}

const TClassInfo& TCalendarGrid::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TCalendarGrid, TCustomControl>("TCalendarGrid");
    return info;
}

void TCalendarGrid::SetWeekendColor(TColor color) {
    if (color == weekendColor_) return;
    weekendColor_ = color;
    Invalidate();
}

void TCalendarGrid::SetStartOfWeek(TDayOfWeekName day) {
    model_.SetStartOfWeek(day);
    Invalidate();
}

void TCalendarGrid::SetWeekends(TDaysOfWeek days) {
    model_.SetWeekends(days);
    Invalidate();
}

void TCalendarGrid::DateChanged() {
    Invalidate();
    if (OnChange) OnChange(this);
}

int TCalendarGrid::ColWidth() const {
    int w = ClientWidth();
    if (AllGridLines) w -= 6;
    return std::max(1, w / TCalendarModel::kColumns);
}

int TCalendarGrid::RowHeight() const { return std::max(1, (ClientHeight() - 6) / TCalendarModel::kRows); }

TGridCell TCalendarGrid::CellAt(int x, int y) const {
    const int line = AllGridLines ? 1 : 0;
    const int col = x / (ColWidth() + line);
    const int row = y / (RowHeight() + 1);
    if (x < 0 || y < 0 || col >= TCalendarModel::kColumns || row >= TCalendarModel::kRows) return {-1, -1};
    return {col, row};
}

RECT TCalendarGrid::CellRect(TGridCell cell) const {
    const int line = AllGridLines ? 1 : 0;
    const int left = cell.Col * (ColWidth() + line);
    const int top = cell.Row * (RowHeight() + 1);
    return {left, top, left + ColWidth(), top + RowHeight()};
}

bool TCalendarGrid::CursorKey(WORD key) {
    int dCol = 0, dRow = 0;
    switch (key) {
        case VK_UP: dRow = -1; break;
        case VK_DOWN: dRow = 1; break;
        case VK_LEFT: dCol = -1; break;
        case VK_RIGHT: dCol = 1; break;
        default: return false;
    }
    if (!readOnly_) model_.MoveSelection(dCol, dRow);
    return true;
}

void TCalendarGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    PressSelected = false;
    if (button == TMouseButton::mbLeft && !readOnly_) PressSelected = model_.SelectCell(CellAt(x, y));
    TCustomControl::MouseDown(button, shift, x, y);
}

LRESULT TCalendarGrid::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            Invalidate();
            break;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_ERASEBKGND:
            return 1;  // Paint fills every pixel
        default:
            break;
    }
    return TCustomControl::WndProc(msg, wParam, lParam);
}

void TCalendarGrid::Paint() {
    TCanvas& canvas = Canvas();
    RECT client = ClientRect();
    canvas.BrushColor = Color();
    canvas.FillRect(client);
    canvas.PenColor = clBtnShadow;
    if (AllGridLines) {
        for (int c = 1; c < TCalendarModel::kColumns; ++c) {
            int x = CellRect({c, 0}).left - 1;
            canvas.MoveTo(x, 0);
            canvas.LineTo(x, client.bottom);
        }
        for (int r = 1; r < TCalendarModel::kRows; ++r) {
            int y = CellRect({0, r}).top - 1;
            canvas.MoveTo(0, y);
            canvas.LineTo(client.right, y);
        }
    } else {
        int y = CellRect({0, 1}).top - 1;
        canvas.MoveTo(0, y);
        canvas.LineTo(client.right, y);
    }
    for (int r = 0; r < TCalendarModel::kRows; ++r)
        for (int c = 0; c < TCalendarModel::kColumns; ++c) DrawCell({c, r}, CellRect({c, r}));
}

void TCalendarGrid::DrawCell(TGridCell cell, const RECT& r) {
    TCanvas& canvas = Canvas();
    const TGridCell selected = model_.SelectedCell();
    const bool isSelected = cell.Col == selected.Col && cell.Row == selected.Row;
    std::string text;
    if (cell.Row == 0) {
        text = model_.HeaderText(cell.Col, RegionalSettings());
    } else if (int day = model_.DayAt(cell)) {
        text = std::to_string(day);
    }
    TColor background = cell.Row == 0 && !FixedRowInGridColor ? clBtnFace : Color();
    TColor textColor = Font().Color();
    if (isSelected) {
        background = clHighlight;
        textColor = clHighlightText;
    } else if (model_.IsWeekendColumn(cell.Col)) {
        textColor = weekendColor_;
    }
    canvas.BrushColor = background;
    canvas.FillRect(r);
    canvas.Font().SetColor(textColor);
    canvas.TransparentText = true;
    canvas.TextRect(r, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (FrameToday && model_.IsToday(cell)) {
        canvas.PenColor = clBtnShadow;
        canvas.MoveTo(r.left, r.bottom - 1);
        canvas.LineTo(r.left, r.top);
        canvas.LineTo(r.right - 1, r.top);
        canvas.PenColor = clBtnHighlight;
        canvas.LineTo(r.right - 1, r.bottom - 1);
        canvas.LineTo(r.left, r.bottom - 1);
    }
}

TLocCalendar::TLocCalendar(TComponent* owner) : TCalendarGrid(owner) {
    AllGridLines = false;
    FrameToday = true;
    FixedRowInGridColor = true;
    SetTabStop(false);
    SetParentColor(true);
    Model().SetCalendarDate(Today());
    Model().SetUseCurrentDate(false);
}

const TClassInfo& TLocCalendar::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TLocCalendar, TCalendarGrid>("TLocCalendar");
    return info;
}

void TLocCalendar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCalendarGrid::MouseUp(button, shift, x, y);
    const bool chosen = PressSelected;
    PressSelected = false;
    const TShiftState others = ssShift | ssCtrl | ssAlt | ssRight | ssMiddle | ssLeft;
    if (button != TMouseButton::mbLeft || (shift & others) || !chosen) return;
    if (Model().DayAt(CellAt(x, y)) == 0) return;
    if (OnDayClicked) OnDayClicked(this);
}
