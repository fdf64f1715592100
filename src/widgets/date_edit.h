#pragma once
// The date edit: an edit-with-button whose text stands in a fixed input template built from the
// regional date format, whose button drops down the calendar popup, and whose DateValue is read
// by parsing the text.
#include <functional>
#include <string>
#include <vector>

#include "core/dates.h"
#include "widgets/calendar_model.h"
#include "widgets/combo_edit.h"
#include "widgets/date_util.h"
#include "widgets/edit_mask.h"

class TPopupCalendar;

enum TYearDigits { dyDefault, dyFour, dyTwo };
enum TCalendarStyle { csPopup, csDialog };

// Asked before a date chosen in the calendar is taken; the handler may change the date or
// refuse it by clearing Action.
using TExecDateDialog = std::function<void(TObject* Sender, TDateTime& ADate, bool& Action)>;

class TCustomDateEdit : public TCustomComboEdit {
public:
    explicit TCustomDateEdit(TComponent* owner);
    ~TCustomDateEdit() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Reading parses the text: an unreadable text is NullDate, or today with DefaultToday.
    TDateTime DateValue() const;
    // An invalid date or NullDate writes the empty template (today with DefaultToday).
    void SetDateValue(TDateTime value);
    // Writes the date, then selects the whole text when it may be typed.
    void ApplyDate(TDateTime value);
    // With CheckOnExit: a text that is not blank and cannot be read raises EConvertError.
    void ValidateDateText();
    // Every character is NUL, space, the blank character or the date separator.
    bool TextIsBlank(const std::string& text) const;

    char BlanksChar() const { return blanksChar_; }
    void SetBlanksChar(char c);
    TYearDigits YearDigits() const { return yearDigits_; }
    void SetYearDigits(TYearDigits digits);
    bool FourDigitYear() const;
    bool DefaultToday() const { return defaultToday_; }
    void SetDefaultToday(bool v) { defaultToday_ = v; }
    bool CheckOnExit() const { return checkOnExit_; }
    void SetCheckOnExit(bool v) { checkOnExit_ = v; }
    TCalendarStyle CalendarStyle() const { return calendarStyle_; }
    void SetCalendarStyle(TCalendarStyle v) { calendarStyle_ = v; }
    const std::string& DialogTitle() const { return dialogTitle_; }
    void SetDialogTitle(const std::string& v) { dialogTitle_ = v; }
    TColor PopupColor() const { return popupColor_; }
    void SetPopupColor(TColor color);
    TDayOfWeekName StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(TDayOfWeekName day);
    TDaysOfWeek Weekends() const { return weekends_; }
    void SetWeekends(TDaysOfWeek days);
    TColor WeekendColor() const { return weekendColor_; }
    void SetWeekendColor(TColor color);
    // Tips of the calendar's buttons: previous year, previous month, next month, next year.
    const std::vector<std::string>& CalendarHints() const { return calendarHints_; }
    void SetCalendarHints(const std::vector<std::string>& hints);

    // The format the text is written and read with ("DD/MM/YYYY" ...) and the input template.
    const std::string& DateFormat() const { return format_; }
    const std::string& EditMask() const { return mask_.Mask(); }
    TPopupCalendar* Calendar() const { return calendar_; }

    TExecDateDialog OnAcceptDate;

    // The text with empty digit places as spaces and the separators in place.
    std::string Text() const override;
    void SetText(const std::string& v) override;

    // Builds the format and template again from the regional settings (keeping the date).
    void UpdateFormat();

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void DoEnter() override;
    void DoExit() override;

protected:
    void OpenPopup(bool lock) override;
    void ClosePopup(bool accept) override;
    void Change() override;
    void CreateWnd() override;
    std::string DefaultGlyphResource() const override { return "DEDITBMP"; }
    int DefaultNumGlyphs() const override { return 2; }

private:
    void PassSettingsToCalendar();
    void AcceptCalendarDate(TDateTime value);
    // Puts the template's text into the window (or the stored text before there is one).
    void ShowDisplay();
    // Shows the template's text and puts the caret.
    void ShowMaskText(size_t caret);
    void TypeIntoMask(char ch);
    void PasteIntoMask();
    void CutFromMask();
    bool MaskEditable() const;
    void HookMainWindow();
    void UnhookMainWindow();
    // While the popup is open, a mouse press anywhere else in the program closes it.
    static LRESULT CALLBACK PopupMouseHook(int code, WPARAM wParam, LPARAM lParam);
    bool IsOwnWindow(HWND window);
    void StopMouseHook();

    TEditMask mask_;
    std::string format_;
    char separator_ = '/';
    bool formatting_ = false;
    TPopupCalendar* calendar_ = nullptr;
    int hookId_ = 0;
    HHOOK mouseHook_ = nullptr;
    std::string textOnEnter_;

    char blanksChar_ = ' ';
    TYearDigits yearDigits_ = dyDefault;
    bool defaultToday_ = false;
    bool checkOnExit_ = false;
    TCalendarStyle calendarStyle_ = csPopup;
    std::string dialogTitle_ = "Select a Date";
    TColor popupColor_ = clBtnFace;
    TDayOfWeekName startOfWeek_ = Mon;
    TDaysOfWeek weekends_ = DayBit(Sun);
    TColor weekendColor_ = clRed;
    std::vector<std::string> calendarHints_;
};

class TDateEdit : public TCustomDateEdit {
public:
    explicit TDateEdit(TComponent* owner) : TCustomDateEdit(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
};

// Makes TDateEdit known to the form description reader.
void RegisterDateEditClasses();
