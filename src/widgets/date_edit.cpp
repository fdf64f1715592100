#include "widgets/date_edit.h"

#include <cmath>

#include "core/exceptions.h"
#include "core/regional.h"
#include "core/text.h"
#include "toolkit/application.h"
#include "widgets/popup_calendar.h"

namespace {

// Posted to itself when a check on exit failed: the focus comes back and the error is shown
// once the focus change that ran the check is over.
constexpr UINT WM_DATE_CHECK_FAILED = WM_APP + 0x3A10;
// Posted by the mouse hook: a press elsewhere in the program closes the popup.
constexpr UINT WM_DATE_CANCEL_POPUP = WM_APP + 0x3A11;

// A character message's key: the keypad's decimal key has scan code 0x53 without the extended
// bit (with it, the same code is the Delete key beside Home and End, which types nothing).
bool IsFromKeypadDecimalKey(LPARAM lParam) {
    const unsigned scanCode = (static_cast<unsigned long>(lParam) >> 16) & 0xFF;
    const bool extended = (lParam & (1L << 24)) != 0;
    return scanCode == 0x53 && !extended;
}

const TEnumInfo YearDigitsInfo{{"dyDefault", "dyFour", "dyTwo"}};
const TEnumInfo CalendarStyleInfo{{"csPopup", "csDialog"}};
const TEnumInfo DayOfWeekInfo{{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}};

}  // namespace

TCustomDateEdit::TCustomDateEdit(TComponent* owner) : TCustomComboEdit(owner) {
    calendar_ = new TPopupCalendar(this);
    calendar_->OnCloseRequest = [this](bool accept) { ClosePopup(accept); };
    calendar_->SetColor(popupColor_);
    SetPopup(calendar_);
    SetNumGlyphs(2);
    SetGlyphKind(gkDefault);
    UpdateFormat();
}

TCustomDateEdit::~TCustomDateEdit() {
    StopMouseHook();
    UnhookMainWindow();
    SetPopup(nullptr);
    DestroyComponents();
}

const TClassInfo& TCustomDateEdit::StaticClass() {
    using P = Published<TCustomDateEdit>;
    static const TClassInfo info = MakeClassInfo<TCustomDateEdit, TCustomComboEdit>("TCustomDateEdit", {
        P::Char("BlanksChar", &TCustomDateEdit::BlanksChar, &TCustomDateEdit::SetBlanksChar, ' '),
        P::Enum("YearDigits", YearDigitsInfo, &TCustomDateEdit::YearDigits, &TCustomDateEdit::SetYearDigits,
                dyDefault),
        P::Bool("DefaultToday", &TCustomDateEdit::DefaultToday, &TCustomDateEdit::SetDefaultToday, false),
        P::Bool("CheckOnExit", &TCustomDateEdit::CheckOnExit, &TCustomDateEdit::SetCheckOnExit, false),
        P::Enum("CalendarStyle", CalendarStyleInfo, &TCustomDateEdit::CalendarStyle,
                &TCustomDateEdit::SetCalendarStyle, csPopup),
        P::Str("DialogTitle", &TCustomDateEdit::DialogTitle, &TCustomDateEdit::SetDialogTitle),
        P::Int("PopupColor", &TCustomDateEdit::PopupColor, &TCustomDateEdit::SetPopupColor, clBtnFace),
        P::Enum("StartOfWeek", DayOfWeekInfo, &TCustomDateEdit::StartOfWeek, &TCustomDateEdit::SetStartOfWeek,
                Mon),
        P::Set("Weekends", DayOfWeekInfo, &TCustomDateEdit::Weekends, &TCustomDateEdit::SetWeekends,
               DayBit(Sun)),
        P::Int("WeekendColor", &TCustomDateEdit::WeekendColor, &TCustomDateEdit::SetWeekendColor, clRed),
        P::List("CalendarHints", &TCustomDateEdit::CalendarHints, &TCustomDateEdit::SetCalendarHints),
        P::Event("OnAcceptDate", &TCustomDateEdit::OnAcceptDate),
        // The date edit's own defaults for settings of the edit-with-button.
        P::Enum("GlyphKind", GlyphKindNames(), &TCustomDateEdit::GlyphKind, &TCustomDateEdit::SetGlyphKind,
                gkDefault),
        P::Int("NumGlyphs", &TCustomDateEdit::NumGlyphs, &TCustomDateEdit::SetNumGlyphs, 2),
    });
    return info;
}

const TClassInfo& TDateEdit::StaticClass() {
    static const TClassInfo info = MakeCreatableClassInfo<TDateEdit, TCustomDateEdit>("TDateEdit");
    return info;
}

void RegisterDateEditClasses() { RegisterClass(TDateEdit::StaticClass()); }

// ---- settings --------------------------------------------------------------------------------

void TCustomDateEdit::SetBlanksChar(char c) {
    if (static_cast<unsigned char>(c) < 32) c = ' ';
    if (c == blanksChar_) return;
    blanksChar_ = c;
    UpdateFormat();
}

void TCustomDateEdit::SetYearDigits(TYearDigits digits) {
    if (digits == yearDigits_) return;
    yearDigits_ = digits;
    UpdateFormat();
}

bool TCustomDateEdit::FourDigitYear() const {
    return yearDigits_ == dyFour || (yearDigits_ == dyDefault && FourDigitYearDefault());
}

void TCustomDateEdit::SetPopupColor(TColor color) {
    popupColor_ = color;
    calendar_->SetColor(color);
}

void TCustomDateEdit::SetStartOfWeek(TDayOfWeekName day) {
    startOfWeek_ = day;
    PassSettingsToCalendar();
}

void TCustomDateEdit::SetWeekends(TDaysOfWeek days) {
    weekends_ = days;
    PassSettingsToCalendar();
}

void TCustomDateEdit::SetWeekendColor(TColor color) {
    weekendColor_ = color;
    PassSettingsToCalendar();
}

void TCustomDateEdit::SetCalendarHints(const std::vector<std::string>& hints) {
    calendarHints_ = hints;
    if (calendarHints_.size() > 4) calendarHints_.resize(4);
    PassSettingsToCalendar();
}

void TCustomDateEdit::PassSettingsToCalendar() {
    calendar_->SetStartOfWeek(startOfWeek_);
    calendar_->SetWeekends(weekends_);
    calendar_->SetWeekendColor(weekendColor_);
    calendar_->SetHints(calendarHints_);
}

void TCustomDateEdit::UpdateFormat() {
    const TDateTime value = DateValue();
    const TRegionalSettings& regional = RegionalSettings();
    const TDateOrder order = DateOrderOf(regional.ShortDateFormat);
    const std::string format = DateFormatFor(order, FourDigitYear());
    const std::string mask = DateTemplateFor(order, FourDigitYear(), blanksChar_);
    if (format != format_ || mask != mask_.Mask() || regional.DateSeparator != separator_) {
        format_ = format;
        separator_ = regional.DateSeparator;
        mask_ = TEditMask(mask, separator_);
        if (HandleAllocated()) ShowMaskText(0);
    }
    PassSettingsToCalendar();
    SetDateValue(value);
}

// ---- value -----------------------------------------------------------------------------------

TDateTime TCustomDateEdit::DateValue() const {
    if (format_.empty()) return defaultToday_ ? Today() : NullDate;
    return ParseDateTextOrDefault(format_, Text(), defaultToday_ ? Today() : NullDate, RegionalSettings());
}

void TCustomDateEdit::SetDateValue(TDateTime value) {
    if (!IsDateInRange(value) || value == NullDate) value = defaultToday_ ? Today() : NullDate;
    const TDateTime before = DateValue();
    if (value == NullDate)
        SetText("");
    else
        SetText(FormatDateText(value, format_, RegionalSettings()));
    SetModified(DateValue() != before);
}

void TCustomDateEdit::ApplyDate(TDateTime value) {
    SetDateValue(value);
    if (DirectInput()) SelectAll();
}

bool TCustomDateEdit::TextIsBlank(const std::string& text) const {
    for (char c : text)
        if (c != '\0' && c != ' ' && c != blanksChar_ && c != separator_) return false;
    return true;
}

void TCustomDateEdit::ValidateDateText() {
    const std::string text = Text();
    if (TextIsBlank(text)) return;
    formatting_ = true;
    try {
        TParsedDate parsed = ParseDateText(format_, text, RegionalSettings());
        if (!parsed.Ok) throw EConvertError(Format("''%s'' is not a valid date", text.c_str()));
        SetDateValue(parsed.Date);
    } catch (...) {
        formatting_ = false;
        throw;
    }
    formatting_ = false;
}

// ---- text in its template --------------------------------------------------------------------

std::string TCustomDateEdit::Text() const {
    if (mask_.IsEmpty()) return TCustomComboEdit::Text();
    return mask_.Text();
}

void TCustomDateEdit::SetText(const std::string& v) {
    if (mask_.IsEmpty()) {
        TCustomComboEdit::SetText(v);
        return;
    }
    mask_.SetText(v);
    ShowDisplay();
}

void TCustomDateEdit::ShowDisplay() {
    const std::string display = mask_.Display();
    HWND h = HandleIfAllocated();
    if (!h) {
        TCustomComboEdit::SetText(display);
        return;
    }
    // Compared with the window's own text: Text() already answers from the template.
    if (TWinControl::Text() != display) SetWindowTextA(h, display.c_str());
}

void TCustomDateEdit::ShowMaskText(size_t caret) {
    ShowDisplay();
    if (HWND h = HandleIfAllocated()) SendMessageA(h, EM_SETSEL, caret, caret);
}

void TCustomDateEdit::Change() {
    if (formatting_) return;
    TCustomComboEdit::Change();
}

bool TCustomDateEdit::MaskEditable() const { return DirectInput() && !TEdit::ReadOnly(); }

void TCustomDateEdit::TypeIntoMask(char ch) {
    const auto [start, end] = EditSelection(Handle());
    size_t caret = start;
    if (ch == '\b') {
        caret = mask_.Backspace(start, start, end);
    } else if (!mask_.TypeChar(ch, caret, start, end)) {
        MessageBeep(0);
        return;
    }
    ShowMaskText(caret);
}

void TCustomDateEdit::PasteIntoMask() {
    std::string text;
    if (OpenClipboard(Handle())) {
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            if (const char* p = static_cast<const char*>(GlobalLock(data))) {
                text = p;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    const auto [start, end] = EditSelection(Handle());
    size_t caret = start;
    if (!mask_.Paste(text, start, end, caret)) {
        MessageBeep(0);
        return;
    }
    ShowMaskText(caret);
}

void TCustomDateEdit::CutFromMask() {
    const auto [start, end] = EditSelection(Handle());
    if (end <= start) return;
    CopyToClipboard();
    mask_.Clear(start, end);
    ShowMaskText(start);
}

LRESULT TCustomDateEdit::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!mask_.IsEmpty()) {
        switch (msg) {
            case WM_CHAR: {
                char ch = static_cast<char>(wParam);
                // The keypad's decimal key types the locale's decimal sign ("," in Croatia), and
                // an operator typing a date on the keypad means the date's separator by it.
                if (IsFromKeypadDecimalKey(lParam) && mask_.FieldSeparator() != '\0') ch = mask_.FieldSeparator();
                if (ch == 3) break;  // Ctrl+C copies as usual
                if (!MaskEditable()) {
                    if (ch == 22 || ch == 24 || ch == '\b' || static_cast<unsigned char>(ch) >= 32) MessageBeep(0);
                    return 0;
                }
                if (ch == 22)
                    PasteIntoMask();
                else if (ch == 24)
                    CutFromMask();
                else if (ch == '\b' || static_cast<unsigned char>(ch) >= 32)
                    TypeIntoMask(ch);
                return 0;
            }
            case WM_KEYDOWN:
                if (wParam == VK_DELETE || (wParam == VK_INSERT && (GetKeyState(VK_SHIFT) < 0))) {
                    if (!MaskEditable()) return 0;
                    if (wParam == VK_INSERT) {
                        PasteIntoMask();
                    } else if (GetKeyState(VK_SHIFT) < 0) {
                        CutFromMask();
                    } else {
                        const auto [start, end] = EditSelection(Handle());
                        ShowMaskText(mask_.Delete(start, start, end));
                    }
                    return 0;
                }
                break;
            case WM_PASTE:
                if (MaskEditable()) PasteIntoMask();
                return 0;
            case WM_CUT:
                if (MaskEditable()) CutFromMask();
                return 0;
            case WM_CLEAR:
                if (MaskEditable()) {
                    const auto [start, end] = EditSelection(Handle());
                    mask_.Clear(start, end);
                    ShowMaskText(start);
                }
                return 0;
            case WM_UNDO:
            case EM_UNDO:
                return 0;  // the platform's undo knows nothing of the template
            default:
                break;
        }
    }
    switch (msg) {
        case WM_DATE_CHECK_FAILED:
            if (CanFocus()) SetFocus();
            try {
                ValidateDateText();
            } catch (...) {
                Application().HandleException(std::current_exception());
            }
            return 0;
        case WM_DATE_CANCEL_POPUP:
            ClosePopup(false);
            return 0;
        case WM_DESTROY:
            StopMouseHook();
            UnhookMainWindow();
            break;
        default:
            break;
    }
    return TCustomComboEdit::WndProc(msg, wParam, lParam);
}

// ---- keys ------------------------------------------------------------------------------------

void TCustomDateEdit::KeyDown(WORD& key, TShiftState shift) {
    const bool modifiers = shift & (ssShift | ssCtrl | ssAlt);
    if (PopupVisible()) {
        switch (key) {
            case VK_PRIOR:
            case VK_NEXT:
            case VK_LEFT:
            case VK_UP:
            case VK_RIGHT:
            case VK_DOWN:
            case VK_ADD:
            case VK_SUBTRACT:
                calendar_->PopupKeyDown(key, shift);
                key = 0;
                return;
            default:
                break;
        }
    } else if (!modifiers && DirectInput() && (key == VK_ADD || key == VK_SUBTRACT)) {
        TDateTime base = DateValue();
        if (base == NullDate) base = Now();
        ApplyDate(key == VK_ADD ? base + 1 : base - 1);
        key = 0;
        return;
    }
    const bool escapeWithoutPopup = key == VK_ESCAPE && !PopupVisible();
    TCustomComboEdit::KeyDown(key, shift);
    if (escapeWithoutPopup && key == VK_ESCAPE && Text() != textOnEnter_) {
        SetText(textOnEnter_);
        SelectAll();
        key = 0;
    }
}

void TCustomDateEdit::KeyPress(char& key) {
    const bool dateKey = key == '+' || key == '-' || key == 'T' || key == 't';
    if (dateKey && PopupVisible()) {
        calendar_->PopupKeyPress(key);
        key = 0;
        return;
    }
    if (dateKey && DirectInput()) {
        if (key == 'T' || key == 't') ApplyDate(Today());
        key = 0;
        return;
    }
    TCustomComboEdit::KeyPress(key);
}

void TCustomDateEdit::DoEnter() {
    textOnEnter_ = Text();
    TCustomComboEdit::DoEnter();
}

void TCustomDateEdit::DoExit() {
    TCustomComboEdit::DoExit();
    if (!checkOnExit_ || TextIsBlank(Text())) return;
    if (ParseDateText(format_, Text(), RegionalSettings()).Ok) {
        ValidateDateText();
        return;
    }
    if (HWND h = HandleIfAllocated()) PostMessageA(h, WM_DATE_CHECK_FAILED, 0, 0);
}

// ---- popup -----------------------------------------------------------------------------------

void TCustomDateEdit::OpenPopup(bool lock) {
    if (!Popup() || ReadOnly() || PopupVisible()) return;
    calendar_->ShowValue(ParseDateTextOrDefault(format_, Text(), Today(), RegionalSettings()));
    calendar_->ShowTips(ShowHint());
    TCustomComboEdit::OpenPopup(lock);
    if (PopupVisible() && !mouseHook_)
        mouseHook_ = SetWindowsHookExA(WH_MOUSE, &TCustomDateEdit::PopupMouseHook, nullptr, GetCurrentThreadId());
}

void TCustomDateEdit::StopMouseHook() {
    if (mouseHook_) UnhookWindowsHookEx(mouseHook_);
    mouseHook_ = nullptr;
}

bool TCustomDateEdit::IsOwnWindow(HWND window) {
    HWND self = HandleIfAllocated();
    HWND popup = calendar_->HandleIfAllocated();
    return window && ((self && (window == self || IsChild(self, window))) ||
                      (popup && (window == popup || IsChild(popup, window))));
}

LRESULT CALLBACK TCustomDateEdit::PopupMouseHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        switch (wParam) {
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
            case WM_NCLBUTTONDOWN:
            case WM_NCRBUTTONDOWN:
            case WM_NCMBUTTONDOWN: {
                // The edit whose popup is open has the keyboard focus: the popup closes when
                // the focus leaves.
                auto* edit = dynamic_cast<TCustomDateEdit*>(TWinControl::FromHandle(GetFocus()));
                HWND target = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam)->hwnd;
                if (edit && edit->PopupVisible() && !edit->IsOwnWindow(target))
                    PostMessageA(edit->Handle(), WM_DATE_CANCEL_POPUP, 0, 0);
                break;
            }
            default:
                break;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TCustomDateEdit::ClosePopup(bool accept) {
    if (!PopupVisible()) return;
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    StopMouseHook();
    const TDateTime value = calendar_->TakeValue();
    TCustomComboEdit::ClosePopup(accept);
    if (accept) AcceptCalendarDate(value);
}

void TCustomDateEdit::AcceptCalendarDate(TDateTime value) {
    if (OnAcceptDate) {
        bool action = true;
        OnAcceptDate(this, value, action);
        if (!action) return;
    }
    if (ReadOnly()) return;
    const TDateTime before = DateValue();
    formatting_ = true;
    SetDateValue(value);
    formatting_ = false;
    if (DateValue() != before) TCustomComboEdit::Change();
    if (Focused()) SelectAll();
}

// ---- window and regional settings ------------------------------------------------------------

void TCustomDateEdit::CreateWnd() {
    TCustomComboEdit::CreateWnd();
    UpdateFormat();
    HookMainWindow();
}

void TCustomDateEdit::HookMainWindow() {
    if (hookId_) return;
    hookId_ = Application().HookMainWindow([this](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_SETTINGCHANGE && Application().UpdateFormatSettings) {
            // Read the new settings first, so that the rebuilt template already follows them.
            ReloadRegionalSettings();
            UpdateFormat();
        }
        return false;
    });
}

void TCustomDateEdit::UnhookMainWindow() {
    if (!hookId_) return;
    Application().UnhookMainWindow(hookId_);
    hookId_ = 0;
}
