// The date edit in a real window: its template, value, keys and the calendar popup.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "core/form_reader.h"
#include "regional_formats.h"
#include "support/fixed_clock.h"
#include "support/gui_input.h"
#include "support/message_box_capture.h"
#include "toolkit/application.h"
#include "toolkit/edit.h"
#include "toolkit/forms.h"
#include "toolkit/toolkit_classes.h"
#include "widgets/date_edit.h"
#include "widgets/popup_calendar.h"

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

class DateEditWindow : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 320, 180);
        edit = new TDateEdit(form);
        edit->SetParent(form);
        edit->SetBounds(20, 20, 121, 21);
        other = new TEdit(form);
        other->SetParent(form);
        other->SetBounds(20, 60, 100, 21);
        form->Show();
        Pump();
        edit->SetFocus();
        Pump();
    }
    void TearDown() override {
        delete form;
        Pump();
    }

    static void Pump() { Application().ProcessMessages(); }

    // A key typed into the focused window, through the message loop, with modifiers held.
    static void Key(WORD vk, TShiftState shift = 0) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = keys[VK_LSHIFT] = (shift & ssShift) ? 0x80 : 0;
        keys[VK_CONTROL] = keys[VK_LCONTROL] = (shift & ssCtrl) ? 0x80 : 0;
        keys[VK_MENU] = keys[VK_LMENU] = (shift & ssAlt) ? 0x80 : 0;
        SetKeyboardState(keys);
        const bool sys = shift & ssAlt;
        PostMessageA(GetFocus(), sys ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, sys ? 0x20000001 : 1);
        PostMessageA(GetFocus(), sys ? WM_SYSKEYUP : WM_KEYUP, vk, sys ? 0xE0000001 : 0xC0000001);
        Pump();
        keys[VK_SHIFT] = keys[VK_LSHIFT] = keys[VK_CONTROL] = keys[VK_LCONTROL] = keys[VK_MENU] = keys[VK_LMENU] = 0;
        SetKeyboardState(keys);
    }
    static void Type(const std::string& chars) {
        for (char c : chars) PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
        Pump();
    }

    HWND PopupWindow() const { return edit->Calendar()->HandleIfAllocated(); }
    bool PopupShown() const { return PopupWindow() && IsWindowVisible(PopupWindow()); }

    static void Click(HWND window, POINT p, bool dbl = false) {
        LPARAM at = MAKELPARAM(p.x, p.y);
        SendMessageA(window, dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(window, WM_LBUTTONUP, 0, at);
        Pump();
    }
    void ClickDay(int day) {
        TLocCalendar* grid = edit->Calendar()->Grid();
        RECT r = grid->CellRect(grid->Model().CellOfDay(day));
        Click(grid->Handle(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }

    support::FixedClock clock{2026, 12, 7};
    ScopedRegional regional{CroatianRegional()};
    TForm* form = nullptr;
    TDateEdit* edit = nullptr;
    TEdit* other = nullptr;
};

TEST_F(DateEditWindow, TextStaysInTheTemplate) {
    EXPECT_EQ(edit->EditMask(), "!99/99/9999;1; ");
    EXPECT_EQ(edit->DateFormat(), "DD/MM/YYYY");
    EXPECT_EQ(edit->Text(), "  .  .    ");
    EXPECT_EQ(edit->DateValue(), NullDate);

    Type("05a0-3+2/024");
    EXPECT_EQ(edit->Text(), "05.03.2024");
    EXPECT_EQ(edit->DateValue(), D(2024, 3, 5));
    edit->SelectAll();
    Type("7.12.26");  // as a date is written: the separator ends a short field
    EXPECT_EQ(edit->Text(), " 7.12.26  ");
    EXPECT_EQ(edit->DateValue(), D(2026, 12, 7));
    edit->SelectAll();
    Type("05.03.2024");

    SendMessageA(edit->Handle(), EM_SETSEL, 0, 0);
    Type("\x08");  // nothing before the first place
    SendMessageA(edit->Handle(), EM_SETSEL, 3, 5);
    Key(VK_DELETE);
    EXPECT_EQ(edit->Text(), "05.  .2024");
    EXPECT_EQ(edit->DateValue(), NullDate);  // month empty
    Type("3");
    EXPECT_EQ(edit->Text(), "05.3 .2024");
    EXPECT_EQ(edit->DateValue(), D(2024, 3, 5));  // the positional pass skips the empty place

    edit->SetBlanksChar('_');
    char shown[32];
    GetWindowTextA(edit->Handle(), shown, sizeof shown);
    EXPECT_STREQ(shown, "05.03.2024");
    edit->SetText("");
    GetWindowTextA(edit->Handle(), shown, sizeof shown);
    EXPECT_STREQ(shown, "__.__.____");
    EXPECT_EQ(edit->Text(), "  .  .    ");
}

TEST_F(DateEditWindow, TheKeypadsDecimalKeySeparatesTheFields) {
    // A Croatian keyboard's keypad types "," with that key: a date typed on the keypad alone.
    // The same character from the main keyboard stays refused.
    const auto typeFrom = [](const std::string& chars, UINT commaScanCode) {
        for (char c : chars)
            PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), c == ',' ? (commaScanCode << 16) | 1 : 1);
        Pump();
    };
    const UINT keypadDecimal = 0x53;
    const UINT mainComma = 0x33;
    edit->SelectAll();
    typeFrom("5,3,2024", keypadDecimal);
    EXPECT_EQ(edit->Text(), " 5. 3.2024");
    EXPECT_EQ(edit->DateValue(), D(2024, 3, 5));
    edit->SelectAll();
    typeFrom("7,", mainComma);
    EXPECT_EQ(edit->Text(), "7 .  .    ");
}

// Ctrl+V over the whole text, as the operator pastes after tabbing in: a date copied from
// elsewhere is fitted into the fields, anything without a digit leaves the date alone.
TEST_F(DateEditWindow, PastingOverTheWholeText) {
    const struct {
        const char* clipboard;
        const char* text;
    } cases[] = {
        {"5.3.2024", " 5. 3.2024"},
        {"29.02.2024\r\n", "29.02.2024"},
        {"abc", "07.12.2026"},
        {"", "07.12.2026"},
        {"  .  ", "07.12.2026"},
    };
    for (const auto& c : cases) {
        edit->SetDateValue(D(2026, 12, 7));
        ASSERT_TRUE(OpenClipboard(edit->Handle()));
        EmptyClipboard();
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, strlen(c.clipboard) + 1);
        memcpy(GlobalLock(data), c.clipboard, strlen(c.clipboard) + 1);
        GlobalUnlock(data);
        SetClipboardData(CF_TEXT, data);
        CloseClipboard();
        edit->SelectAll();
        Type("\x16");  // Ctrl+V
        EXPECT_EQ(edit->Text(), c.text) << c.clipboard;
    }
}

TEST_F(DateEditWindow, WritingValues) {
    edit->SetDateValue(D(2026, 12, 7));
    EXPECT_EQ(edit->Text(), "07.12.2026");
    EXPECT_EQ(edit->DateValue(), D(2026, 12, 7));
    EXPECT_TRUE(edit->Modified());
    edit->SetDateValue(D(2026, 12, 7) + 0.75);
    EXPECT_FALSE(edit->Modified());  // same day: the time part is dropped
    edit->SetDateValue(3000000.0);   // beyond 9999
    EXPECT_EQ(edit->Text(), "  .  .    ");
    edit->SetDateValue(1e9);         // far beyond: must not wrap into a valid year
    EXPECT_EQ(edit->Text(), "  .  .    ");
    edit->SetDefaultToday(true);
    edit->SetDateValue(NullDate);
    EXPECT_EQ(edit->Text(), "07.12.2026");
    edit->SetText("31.02.2024");
    EXPECT_EQ(edit->DateValue(), D(2026, 12, 7));

    edit->SetYearDigits(dyTwo);  // the date survives the new template
    EXPECT_EQ(edit->EditMask(), "!99/99/99;1; ");
    EXPECT_EQ(edit->Text(), "07.12.26");
}

TEST_F(DateEditWindow, DateKeysWithThePopupClosed) {
    edit->SetDateValue(D(2026, 12, 31));
    Key(VK_ADD);
    EXPECT_EQ(edit->Text(), "01.01.2027");
    Key(VK_SUBTRACT);
    Key(VK_SUBTRACT);
    EXPECT_EQ(edit->Text(), "30.12.2026");
    Key(VK_ADD, ssCtrl);  // with a modifier nothing happens
    EXPECT_EQ(edit->Text(), "30.12.2026");
    Type("+-");
    EXPECT_EQ(edit->Text(), "30.12.2026");
    Type("t");
    EXPECT_EQ(edit->Text(), "07.12.2026");
    edit->SetText("");
    Key(VK_ADD);
    EXPECT_EQ(edit->Text(), "08.12.2026");  // tomorrow
    Key(VK_ESCAPE);  // back to the text the edit had when it got the focus
    EXPECT_EQ(edit->Text(), "  .  .    ");
}

TEST_F(DateEditWindow, AltDownOpensTheCalendarBelowWithoutTakingTheFocus) {
    edit->SetDateValue(D(2024, 3, 5));
    Key(VK_DOWN, ssAlt);
    ASSERT_TRUE(edit->PopupVisible());
    ASSERT_TRUE(PopupShown());
    RECT e, p;
    GetWindowRect(edit->Handle(), &e);
    GetWindowRect(PopupWindow(), &p);
    EXPECT_EQ(p.top, e.bottom);
    EXPECT_EQ(p.right, e.right);
    EXPECT_EQ(p.right - p.left, 187 * Screen().PixelsPerInch() / 96);
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_TRUE(GetWindowLongA(PopupWindow(), GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    EXPECT_EQ(edit->Calendar()->TakeValue(), D(2024, 3, 5));
    EXPECT_EQ(edit->Calendar()->Title(), "o\x9eujak, 2024");
    EXPECT_TRUE(GetWindowLongA(edit->Handle(), GWL_STYLE) & ES_READONLY);

    Key(VK_DOWN, ssAlt);  // navigation keys go to the calendar; this is one of them
    EXPECT_TRUE(edit->PopupVisible());
    EXPECT_EQ(edit->Calendar()->TakeValue(), D(2024, 3, 12));
    Key(VK_RIGHT);
    Key(VK_NEXT);
    Key(VK_PRIOR, ssCtrl);
    Type("+");
    EXPECT_EQ(edit->Calendar()->TakeValue(), D(2023, 4, 13));
    EXPECT_EQ(edit->Text(), "05.03.2024");
    Key(VK_RETURN);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_FALSE(PopupShown());
    EXPECT_EQ(edit->Text(), "13.04.2023");
    EXPECT_FALSE(GetWindowLongA(edit->Handle(), GWL_STYLE) & ES_READONLY);
}

TEST_F(DateEditWindow, ButtonTipsOnlyWhenTheEditShowsHints) {
    Key(VK_DOWN, ssAlt);
    EXPECT_EQ(edit->Calendar()->TipsWindow(), nullptr);
    Key(VK_ESCAPE);
    edit->SetShowHint(true);
    edit->SetCalendarHints({"", "Prethodni mjesec|dugi"});
    Key(VK_DOWN, ssAlt);
    HWND tips = edit->Calendar()->TipsWindow();
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 4);
    const char* expected[4] = {"Previous Year", "Prethodni mjesec", "Next Month", "Next Year"};
    for (int i = 0; i < 4; ++i) {
        char text[80] = "";
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = edit->Calendar()->Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(edit->Calendar()->NavButton(i)->Handle());
        tool.lpszText = text;
        SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, expected[i]);
    }
}

TEST_F(DateEditWindow, EscapeKeepsTheTextAndEnterTakesToday) {
    edit->SetText("31.02.2024");
    Key(VK_DOWN, ssAlt);
    ASSERT_TRUE(edit->PopupVisible());
    EXPECT_EQ(edit->Calendar()->TakeValue(), D(2026, 12, 7));
    Key(VK_ESCAPE);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Text(), "31.02.2024");
    Key(VK_DOWN, ssAlt);
    Key(VK_RETURN);
    EXPECT_EQ(edit->Text(), "07.12.2026");
}

TEST_F(DateEditWindow, AnOpenCalendarsKeysReachTheFormsKeyPreviewOnlyWhenItLeavesThem) {
    std::vector<WORD> previewed;
    form->SetKeyPreview(true);
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { previewed.push_back(key); };
    edit->SetDateValue(D(2026, 12, 7));
    for (WORD closing : {VK_ESCAPE, VK_RETURN}) {
        Key(VK_DOWN, ssAlt);
        ASSERT_TRUE(edit->PopupVisible());
        previewed.clear();
        Key(VK_RIGHT);  // the calendar's
        Key(VK_F5);     // nobody's: the preview sees it after the edit
        Key(closing);
        EXPECT_FALSE(edit->PopupVisible());
        EXPECT_EQ(previewed, std::vector<WORD>{VK_F5}) << closing;
    }
    EXPECT_EQ(edit->DateValue(), D(2026, 12, 8));  // Esc left the date, Enter took the next day
    previewed.clear();
    edit->SetFocus();
    Key(VK_ESCAPE);  // closed: the form sees Esc first, as before
    EXPECT_EQ(previewed, std::vector<WORD>{VK_ESCAPE});
}

TEST_F(DateEditWindow, OpensAboveNearTheBottomOfTheScreen) {
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    form->SetBounds(0, screenH - 90, 320, 90);
    Pump();
    Key(VK_DOWN, ssAlt);
    ASSERT_TRUE(PopupShown());
    RECT e, p;
    GetWindowRect(edit->Handle(), &e);
    GetWindowRect(PopupWindow(), &p);
    EXPECT_EQ(p.bottom, e.top);
    EXPECT_EQ(p.left, e.left);  // right-aligned would start left of the screen
}

TEST_F(DateEditWindow, ClickingADayClosesAndTakesIt) {
    edit->SetDateValue(D(2026, 12, 20));
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    Key(VK_DOWN, ssAlt);
    TLocCalendar* grid = edit->Calendar()->Grid();

    RECT header = grid->CellRect({3, 0});
    Click(grid->Handle(), {header.left + 2, header.top + 2});
    RECT empty = grid->CellRect({0, 1});  // 1 December 2026 is a Tuesday
    Click(grid->Handle(), {empty.left + 2, empty.top + 2});
    Click(edit->Calendar()->TitleRow()->Handle(), {5, 5});
    EXPECT_TRUE(edit->PopupVisible());
    EXPECT_EQ(changes, 0);

    ClickDay(3);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Text(), "03.12.2026");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(GetFocus(), edit->Handle());
}

TEST_F(DateEditWindow, TitleDoubleClickShowsTodayAndButtonsMove) {
    edit->SetDateValue(D(2024, 2, 29));
    Key(VK_DOWN, ssAlt);
    TPopupCalendar* calendar = edit->Calendar();
    Click(calendar->NavButton(3)->Handle(), {5, 5});
    EXPECT_EQ(calendar->TakeValue(), D(2025, 2, 28));
    Click(calendar->NavButton(0)->Handle(), {5, 5});
    Click(calendar->NavButton(1)->Handle(), {5, 5});
    EXPECT_EQ(calendar->TakeValue(), D(2024, 1, 28));
    Click(calendar->NavButton(2)->Handle(), {5, 5});
    EXPECT_EQ(calendar->TakeValue(), D(2024, 2, 28));
    RECT title = calendar->TitleRow()->TitleRect();
    Click(calendar->TitleRow()->Handle(), {(title.left + title.right) / 2, 7}, true);
    EXPECT_EQ(calendar->TakeValue(), D(2026, 12, 7));
    EXPECT_TRUE(edit->PopupVisible());
}

TEST_F(DateEditWindow, HeldButtonRepeats) {
    edit->SetDateValue(D(2026, 1, 15));
    Key(VK_DOWN, ssAlt);
    TRepeatButton* next = edit->Calendar()->NavButton(2);
    const LPARAM at = MAKELPARAM(5, 5);
    SendMessageA(next->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 850) {
        Pump();
        Sleep(10);
    }
    SendMessageA(next->Handle(), WM_LBUTTONUP, 0, at);
    Pump();
    // Repeats at about 500, 600, 700 and 800 ms, then the release itself.
    TYMD shown = DecodeDate(edit->Calendar()->TakeValue());
    const int moves = (shown.Year - 2026) * 12 + shown.Month - 1;
    EXPECT_GE(moves, 3);
    EXPECT_LE(moves, 6);
    EXPECT_FALSE(next->Down());
}

TEST_F(DateEditWindow, AcceptDateHandlerMayChangeOrRefuse) {
    edit->SetDateValue(D(2026, 12, 7));
    TDateTime offered = 0;
    edit->OnAcceptDate = [&](TObject*, TDateTime& date, bool& action) {
        offered = date;
        if (date == D(2026, 12, 8)) date = D(2026, 12, 24);
        if (date == D(2026, 12, 9)) action = false;
    };
    Key(VK_DOWN, ssAlt);
    Key(VK_RIGHT);
    Key(VK_RETURN);
    EXPECT_EQ(offered, D(2026, 12, 8));
    EXPECT_EQ(edit->Text(), "24.12.2026");
    edit->SetDateValue(D(2026, 12, 8));
    Key(VK_DOWN, ssAlt);
    Key(VK_RIGHT);
    Key(VK_RETURN);
    EXPECT_EQ(edit->Text(), "08.12.2026");
}

TEST_F(DateEditWindow, FocusLeavingClosesThePopupWithoutTakingTheDate) {
    edit->SetDateValue(D(2026, 12, 7));
    Key(VK_DOWN, ssAlt);
    Key(VK_RIGHT);
    other->SetFocus();
    Pump();
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_FALSE(PopupShown());
    EXPECT_EQ(edit->Text(), "07.12.2026");
    EXPECT_EQ(GetFocus(), other->Handle());
}

TEST_F(DateEditWindow, CheckOnExit) {
    support::MessageBoxCapture boxes;
    edit->SetCheckOnExit(true);
    edit->SetText("5 .3 .2024");
    other->SetFocus();
    Pump();
    EXPECT_EQ(edit->Text(), "05.03.2024");  // written back in full
    EXPECT_TRUE(boxes.Boxes.empty());

    edit->SetFocus();
    edit->SetText("31.02.2024");
    other->SetFocus();
    Pump();
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, "''31.02.2024'' is not a valid date.");
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_EQ(edit->Text(), "31.02.2024");

    edit->SetText("");  // blank: no check
    other->SetFocus();
    Pump();
    EXPECT_EQ(boxes.Boxes.size(), 1u);
}

TEST_F(DateEditWindow, SettingsChangeRebuildsFromTheNewRegionalFormat) {
    SetRegionalSettings(YmdRegional());
    edit->UpdateFormat();
    edit->SetDateValue(D(2024, 3, 5));
    EXPECT_EQ(edit->Text(), "2024.03.05");
    TForm* savedMain = Application().MainForm();
    Application().SetMainForm(form);
    SendMessageA(form->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("intl"));
    Application().SetMainForm(savedMain);
    const TRegionalSettings system = ReadRegionalSettings();
    const std::string format = DateFormatFor(DateOrderOf(system.ShortDateFormat), true);
    EXPECT_EQ(edit->Text(), FormatDateText(D(2024, 3, 5), format, system));
    EXPECT_EQ(edit->DateValue(), D(2024, 3, 5));
}

TEST(DateEditClass, PublishedDefaultsMatchANewEdit) {
    RegisterToolkitClasses();
    RegisterDateEditClasses();
    ASSERT_NE(FindClass("TDateEdit"), nullptr);
    TDateEdit edit(nullptr);
    for (const char* name : {"BlanksChar", "YearDigits", "DefaultToday", "CheckOnExit", "CalendarStyle", "PopupColor",
                             "StartOfWeek", "Weekends", "WeekendColor", "GlyphKind", "NumGlyphs", "ClickKey",
                             "DirectInput", "ReadOnly", "AutoSelect", "ButtonWidth", "PopupAlign"}) {
        const TPropInfo* prop = edit.ClassInfo().FindProp(name);
        ASSERT_NE(prop, nullptr) << name;
        ASSERT_TRUE(prop->Default.has_value()) << name;
        EXPECT_EQ(prop->GetOrd(edit), *prop->Default) << name;
    }
    EXPECT_EQ(edit.DialogTitle(), "Select a Date");
    EXPECT_EQ(edit.ButtonWidth(), 21);
    EXPECT_EQ(edit.Weekends(), DayBit(Sun));
    EXPECT_EQ(edit.Calendar()->ButtonHint(0), "Previous Year|");
    edit.SetCalendarHints({"", "Prije|", "", "Poslije|", "ignored|"});
    EXPECT_EQ(edit.CalendarHints().size(), 4u);
    EXPECT_EQ(edit.Calendar()->ButtonHint(0), "Previous Year|");
    EXPECT_EQ(edit.Calendar()->ButtonHint(1), "Prije|");
    EXPECT_EQ(edit.Calendar()->ButtonHint(3), "Poslije|");
}

TEST(DateEditClass, ReadFromAFormDescription) {
    RegisterToolkitClasses();
    RegisterDateEditClasses();
    TForm form(nullptr);
    ReadFormDescription(form, R"(
object F: TForm
  object DateEdit1: TDateEdit
    Left = 8
    Top = 8
    Width = 121
    Height = 21
    NumGlyphs = 2
    StartOfWeek = Sun
    Weekends = [Sat, Sun]
    TabOrder = 0
  end
end
)");
    auto* edit = dynamic_cast<TDateEdit*>(form.FindComponent("DateEdit1"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Parent(), &form);
    EXPECT_EQ(edit->StartOfWeek(), Sun);
    EXPECT_EQ(edit->Weekends(), DayBit(Sat) | DayBit(Sun));
    EXPECT_EQ(edit->Calendar()->Grid()->Model().StartOfWeek(), Sun);
}

}  // namespace

namespace {

// A real mouse press (through the input queue) on the form's empty area.
void PressMouseAt(POINT screen) {
    support::InjectClick(screen);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 300) {
        Application().ProcessMessages();
        Sleep(10);
    }
}

TEST_F(DateEditWindow, PressElsewhereInTheProgramClosesThePopup) {
    edit->SetDateValue(D(2026, 12, 7));
    Key(VK_DOWN, ssAlt);
    ASSERT_TRUE(edit->PopupVisible());
    RECT popup;
    GetWindowRect(PopupWindow(), &popup);
    PressMouseAt({popup.left + 40, popup.top + 5});  // the calendar's title row
    EXPECT_TRUE(edit->PopupVisible());
    POINT empty = form->ClientToScreen({300, 150});
    PressMouseAt(empty);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Text(), "07.12.2026");
}

}  // namespace
