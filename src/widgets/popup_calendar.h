#pragma once
// The calendar the date edit drops down: a title row with four repeating navigation buttons
// over a month grid. A click on a day asks the edit to close the popup and take the date.
#include <array>
#include <string>
#include <vector>

#include "widgets/calendar_grid.h"
#include "widgets/popup_window.h"

// A flat button that runs its action when the mouse is released over it and, held down, after
// 500 ms and then every 100 ms while the mouse stays pressed on it.
class TRepeatButton : public TCustomControl {
public:
    static constexpr UINT kFirstDelay = 500;
    static constexpr UINT kRepeatDelay = 100;

    TRepeatButton(TComponent* owner, const char* glyphResource);
    ~TRepeatButton() override;

    std::function<void()> OnAction;
    bool Down() const { return down_; }
    // Size of the picture, drawn for the screen's density; 0 x 0 without one.
    SIZE GlyphSize() const;
    void DensityChanged() override;

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void Paint() override;

private:
    void Stop();
    bool MouseOver(LPARAM lParam) const;
    void LoadGlyph();
    std::string glyphResource_;
    HBITMAP glyph_ = nullptr;
    bool pressed_ = false;  // the left button went down here and is still held
    bool down_ = false;     // pressed and the mouse is over the button
};

// The title row: the month and year centred between the buttons; a double-click on the title
// shows today.
class TCalendarTitle : public TCustomControl {
public:
    explicit TCalendarTitle(TComponent* owner);
    void SetTitle(const std::string& title);
    const std::string& Title() const { return title_; }
    // Where the title is drawn and double-clicked: between the buttons, as the popup lays them out.
    RECT TitleRect() const { return titleRect_; }
    void SetTitleRect(const RECT& r);
    TNotifyEvent OnTitleDblClick;
    void DblClick() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void Paint() override;

private:
    std::string title_;
    RECT titleRect_{};
};

class TPopupCalendar : public TPopupWindow {
public:
    explicit TPopupCalendar(TWinControl* edit);

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // A usable date shows that date; NullDate or a date outside the calendar shows today.
    void ShowValue(TDateTime value);
    TDateTime TakeValue() const { return grid_->Model().CalendarDate(); }

    void SetStartOfWeek(TDayOfWeekName day) { grid_->SetStartOfWeek(day); }
    void SetWeekends(TDaysOfWeek days) { grid_->SetWeekends(days); }
    void SetWeekendColor(TColor color) { grid_->SetWeekendColor(color); }
    // Up to four tips in the order previous year, previous month, next month, next year; an
    // empty one keeps the button's own.
    void SetHints(const std::vector<std::string>& hints);
    std::string ButtonHint(int i) const { return buttons_[static_cast<size_t>(i)]->Hint(); }
    // Tool tips of the buttons (the part of each hint before "|") on or off; the edit calls it
    // before every opening with its own ShowHint.
    void ShowTips(bool show);
    HWND TipsWindow() const { return tips_; }

    void PrevMonth() { grid_->Model().PrevMonth(); }
    void NextMonth() { grid_->Model().NextMonth(); }
    void PrevYear() { grid_->Model().PrevYear(); }
    void NextYear() { grid_->Model().NextYear(); }
    void GoToToday() { grid_->Model().GoToToday(); }

    void PopupKeyDown(WORD key, TShiftState shift) override;
    void PopupKeyPress(char key) override;

    // Size, font and buttons for the new density.
    void DensityChanged() override;

    TLocCalendar* Grid() const { return grid_; }
    TCalendarTitle* TitleRow() const { return title_; }
    // 0 previous year, 1 previous month, 2 next month, 3 next year.
    TRepeatButton* NavButton(int i) const { return buttons_[static_cast<size_t>(i)]; }
    const std::string& Title() const { return title_->Title(); }

private:
    // Pixels at 96 pixels per inch to pixels on the screen.
    static int Scaled(int pixels);
    void ApplyDensity();
    void Layout();
    void UpdateTitle();
    TCalendarTitle* title_;
    TLocCalendar* grid_;
    std::array<TRepeatButton*, 4> buttons_;
    HWND tips_ = nullptr;
};
