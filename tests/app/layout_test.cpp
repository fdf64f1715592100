// The dialog, its dropped-down calendar and its folder dialog as an operator sees them at the
// screen's density: every caption fits its control and no control leaves its parent. ctest runs
// these once per density (96, 120 and 144 pixels per inch), each in a Wine prefix of that
// density made by tools/density-prefix; LAYOUT_DENSITY names the density a run is meant for.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/form_snimanje_podataka.h"
#include "dialog_support.h"
#include "support/fixed_clock.h"
#include "toolkit/application.h"
#include "toolkit/buttons.h"
#include "toolkit/edit.h"
#include "toolkit/label.h"
#include "widgets/date_edit.h"
#include "widgets/directory_edit.h"
#include "widgets/folder_dialog_driver.h"
#include "widgets/popup_calendar.h"

namespace {

std::string Text(const RECT& r) {
    char text[64];
    snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

int WidthOf(const RECT& r) { return r.right - r.left; }
int HeightOf(const RECT& r) { return r.bottom - r.top; }

// Everything that does not fit, one line each (once, however often it is found), so that a
// failure names every fault at once.
class LayoutFaults {
public:
    void Inside(const std::string& what, const RECT& inner, const RECT& outer, int allowance = 0) {
        if (inner.left < outer.left - allowance || inner.top < outer.top - allowance ||
            inner.right > outer.right + allowance || inner.bottom > outer.bottom + allowance)
            Add(what + ": " + Text(inner) + " leaves " + Text(outer));
    }
    // A text's or a picture's size against the room it has.
    void Fits(const std::string& what, SIZE size, int width, int height) {
        if (size.cx > width || size.cy > height)
            Add(what + ": " + std::to_string(size.cx) + " x " + std::to_string(size.cy) + " in " +
                std::to_string(width) + " x " + std::to_string(height));
    }
    std::string Report() const {
        std::string all;
        for (const std::string& f : faults_) all += "\n  " + f;
        return all;
    }
    bool Empty() const { return faults_.empty(); }

private:
    void Add(const std::string& fault) {
        if (seen_.insert(fault).second) faults_.push_back(fault);
    }
    std::vector<std::string> faults_;
    std::set<std::string> seen_;
};

// A caption's size in a font as DrawText lays it out on one line ("&" marks an accelerator
// unless prefix is false).
SIZE CaptionExtent(HFONT font, const std::string& text, bool prefix = true) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | (prefix ? 0 : DT_NOPREFIX));
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {r.right, r.bottom};
}

HFONT WindowFont(HWND window) { return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)); }

int LineHeight(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

// A one-line edit: its formatting rectangle (inside the margins, and before the button of an
// edit with one) lies in the client area and holds the text.
void CheckEdit(LayoutFaults& faults, const std::string& name, HWND edit) {
    RECT client, format;
    GetClientRect(edit, &client);
    SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    std::string text = WindowText(edit);
    faults.Inside(name + " text area", format, client);
    SIZE extent = CaptionExtent(WindowFont(edit), text, false);
    extent.cy = LineHeight(WindowFont(edit));
    faults.Fits(name + " \"" + text + "\"", extent, WidthOf(format), HeightOf(client));
}

// A push button's caption inside the focus frame and the raised edge.
constexpr int kButtonEdge = 3;

// A control's name in a report: its own, or what it is in its parent.
std::string NameOf(TControl* control, const std::string& parentName, int index) {
    if (!control->Name().empty()) return control->Name();
    std::string what = dynamic_cast<TEditButton*>(control)      ? "button"
                       : dynamic_cast<TRepeatButton*>(control)  ? "button " + std::to_string(index)
                       : dynamic_cast<TCalendarTitle*>(control) ? "title row"
                       : dynamic_cast<TLocCalendar*>(control)   ? "grid"
                                                                : control->ClassInfo().Name;
    return parentName + "." + what;
}

void CheckControls(LayoutFaults& faults, TWinControl* parent, const std::string& parentName) {
    const RECT room = parent->ClientRect();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* control = parent->Controls(i);
        if (!control->Visible()) continue;
        std::string name = NameOf(control, parentName, i);
        // The calendar's buttons reach one pixel past the title row, so that their flat faces
        // meet its edge without a seam.
        int allowance = dynamic_cast<TRepeatButton*>(control) ? 1 : 0;
        faults.Inside(name, control->BoundsRect(), room, allowance);
        if (auto* label = dynamic_cast<TLabel*>(control)) {
            faults.Fits(name + " \"" + label->Caption() + "\"",
                        CaptionExtent(label->Font().Handle(), label->Caption(), label->ShowAccelChar()),
                        label->Width(), label->Height());
        } else if (auto* button = dynamic_cast<TBitBtn*>(control)) {
            HDC dc = GetDC(button->Handle());
            TBitBtn::TFaceLayout face = button->FaceLayout(dc);
            ReleaseDC(button->Handle(), dc);
            faults.Inside(name + " glyph", face.Glyph, face.Face);
            faults.Inside(name + " \"" + button->Caption() + "\"", face.Caption, face.Face);
        } else if (auto* edit = dynamic_cast<TEdit*>(control)) {
            CheckEdit(faults, name, edit->Handle());
        } else if (auto* editButton = dynamic_cast<TEditButton*>(control)) {
            BITMAP picture{};
            if (editButton->Picture()) GetObjectA(editButton->Picture(), sizeof picture, &picture);
            auto* owner = dynamic_cast<TCustomComboEdit*>(parent);
            int images = owner ? owner->NumGlyphs() : 1;
            faults.Fits(name + " picture", {picture.bmWidth / images, picture.bmHeight},
                        editButton->Width() - 2 * 2, editButton->Height() - 2 * 2);  // inside its edge
        } else if (auto* repeat = dynamic_cast<TRepeatButton*>(control)) {
            faults.Fits(name + " picture", repeat->GlyphSize(), repeat->Width(), repeat->Height());
        }
        if (auto* windowed = dynamic_cast<TWinControl*>(control)) CheckControls(faults, windowed, name);
    }
}

// The title for each month of a year, and every day name and day number in its cell.
void CheckCalendarTexts(LayoutFaults& faults, TPopupCalendar& calendar) {
    TCalendarTitle& title = *calendar.TitleRow();
    TLocCalendar& grid = *calendar.Grid();
    const TCalendarModel& model = grid.Model();
    for (int month = 1; month <= 12; ++month) {
        RECT r = title.TitleRect();
        faults.Fits("title \"" + calendar.Title() + "\"", CaptionExtent(title.Font().Handle(), calendar.Title(), false),
                    WidthOf(r), HeightOf(r));
        for (int row = 0; row < TCalendarModel::kRows; ++row) {
            for (int col = 0; col < TCalendarModel::kColumns; ++col) {
                std::string text = row == 0 ? model.HeaderText(col, RegionalSettings())
                                            : std::to_string(model.DayAt({col, row}));
                if (text == "0") continue;
                RECT cell = grid.CellRect({col, row});
                faults.Fits("cell \"" + text + "\"", CaptionExtent(grid.Font().Handle(), text, false),
                            WidthOf(cell), HeightOf(cell));
            }
        }
        calendar.NextMonth();
    }
}

// Every visible control of a dialog of the system's kind (the folder dialog).
void CheckDialogWindows(LayoutFaults& faults, HWND dialog) {
    RECT room;
    GetClientRect(dialog, &room);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        char kind[32] = "";
        GetClassNameA(child, kind, sizeof kind);
        std::string cls = kind, text = WindowText(child);
        std::string name = cls + " \"" + text + "\"";
        RECT bounds, client;
        GetWindowRect(child, &bounds);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
        GetClientRect(child, &client);
        faults.Inside(name, bounds, room);
        HFONT font = WindowFont(child);
        if (lstrcmpiA(kind, "Static") == 0) {
            bool prefix = !(GetWindowLongA(child, GWL_STYLE) & SS_NOPREFIX);
            faults.Fits(name, CaptionExtent(font, text, prefix), WidthOf(client), HeightOf(client));
        } else if (lstrcmpiA(kind, "Button") == 0) {
            faults.Fits(name, CaptionExtent(font, text), WidthOf(client) - 2 * kButtonEdge,
                        HeightOf(client) - 2 * kButtonEdge);
        } else if (lstrcmpiA(kind, "Edit") == 0) {
            CheckEdit(faults, name, child);
        } else if (lstrcmpiA(kind, "ListBox") == 0) {
            // Each line's text against the list's width and its line height (the indent and
            // the picture before it are the dialog's own drawing, which ends long names with
            // an ellipsis).
            int lineHeight = static_cast<int>(SendMessageA(child, LB_GETITEMHEIGHT, 0, 0));
            for (const std::string& line : ListLines(child)) {
                SIZE extent = CaptionExtent(font, line, false);
                extent.cy = LineHeight(font);
                faults.Fits(cls + " line \"" + line + "\"", extent, WidthOf(client), lineHeight);
            }
        } else if (lstrcmpiA(kind, "ComboBox") == 0) {
            // The field that shows the chosen line, left of the drop-down arrow.
            int fieldHeight = static_cast<int>(SendMessageA(child, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
            SIZE extent = CaptionExtent(font, text, false);
            extent.cy = LineHeight(font);
            faults.Fits(name, extent, WidthOf(client) - GetSystemMetrics(SM_CXVSCROLL), fieldHeight);
        }
    }
}

// The glyphs in the drawn size nearest to the density (at 125 %, halfway, the larger).
void CheckGlyphSizes(TFSnimanjePodataka& dialog) {
    double k = 0;
    switch (Screen().PixelsPerInch()) {
        case 96: k = 1.0; break;
        case 120: k = 1.5; break;
        case 144: k = 1.5; break;
        case 192: k = 2.0; break;
        default: GTEST_SKIP() << "no glyph size listed for " << Screen().PixelsPerInch() << " pixels per inch";
    }
    auto scaled = [k](int pixels) { return static_cast<LONG>(pixels * k + 0.5); };
    EXPECT_EQ(scaled(16), dialog.BitBtn1->GlyphSize().cx);
    EXPECT_EQ(scaled(18), dialog.BitBtn2->GlyphSize().cy);
    for (TCustomComboEdit* edit : {static_cast<TCustomComboEdit*>(dialog.DirectoryEdit1),
                                   static_cast<TCustomComboEdit*>(dialog.DateEdit1)}) {
        BITMAP picture{};
        ASSERT_TRUE(GetObjectA(edit->Button()->Picture(), sizeof picture, &picture)) << edit->Name();
        EXPECT_EQ(scaled(14), picture.bmWidth / edit->NumGlyphs()) << edit->Name();
        EXPECT_EQ(scaled(12), picture.bmHeight) << edit->Name();
        // The button grows with its picture.
        EXPECT_GE(edit->Button()->Width(), scaled(14) + 6) << edit->Name();
    }
}

void CheckDroppedDownCalendar(TFSnimanjePodataka& dialog) {
    dialog.DateEdit1->SetFocus();
    dialog.DateEdit1->ActivateButton();
    Application().ProcessMessages();
    TPopupCalendar* calendar = dialog.DateEdit1->Calendar();
    ASSERT_TRUE(calendar && dialog.DateEdit1->PopupVisible());
    LayoutFaults faults;
    CheckControls(faults, calendar, "calendar");
    CheckCalendarTexts(faults, *calendar);
    EXPECT_EQ(MulDiv(187, Screen().PixelsPerInch(), 96), calendar->Width());
    EXPECT_TRUE(faults.Empty()) << "at " << Screen().PixelsPerInch() << " pixels per inch:" << faults.Report();
    dialog.DateEdit1->ActivateButton();  // closes it again
    Application().ProcessMessages();
}

class Layout : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDialogClasses();
        DeleteDialogSettings();
        dialog = new TFSnimanjePodataka(nullptr);
        dialog->Show();
        Application().ProcessMessages();
    }
    void TearDown() override {
        delete dialog;
        Application().ProcessMessages();
        DeleteDialogSettings();
        Screen().SetPixelsPerInch(0);  // back to the prefix's, after a test that changed it
    }

    support::FixedClock clock{2024, 3, 5};
    TFSnimanjePodataka* dialog = nullptr;
};

TEST_F(Layout, RunsAtTheDensityOfItsPrefix) {
    const char* wanted = std::getenv("LAYOUT_DENSITY");
    if (!wanted) GTEST_SKIP() << "LAYOUT_DENSITY not set: any density will do";
    EXPECT_EQ(std::atoi(wanted), Screen().PixelsPerInch());
}

TEST_F(Layout, DialogControlsShowTheirWholeCaptions) {
    LayoutFaults faults;
    CheckControls(faults, dialog, dialog->Name());
    EXPECT_TRUE(faults.Empty()) << "at " << Screen().PixelsPerInch() << " pixels per inch:" << faults.Report();
}

TEST_F(Layout, GlyphsAreDrawnForTheDensity) { CheckGlyphSizes(*dialog); }

TEST_F(Layout, DroppedDownCalendarShowsWholeTexts) { CheckDroppedDownCalendar(*dialog); }

// Windows tells a window that its density changed (moved to another monitor, or the scaling
// changed) and suggests a rectangle for it; the dialog then lays itself out anew. From the
// prefix's density (96 in its first run) to 150 % and then 125 %, each step checked whole.
TEST_F(Layout, FollowsChangesOfDensity) {
    HWND window = dialog->Handle();
    for (int density : {144, 120}) {
        SCOPED_TRACE("changed to " + std::to_string(density) + " pixels per inch");
        // As Windows suggests it: the client area scaled, in the frame (Wine draws the frame at
        // the system's density whatever the window's), the corner moved a little.
        RECT now, client;
        GetWindowRect(window, &now);
        GetClientRect(window, &client);
        RECT suggested{now.left + 8, now.top + 8,
                       now.left + 8 + WidthOf(now) - client.right + MulDiv(589, density, 96),
                       now.top + 8 + HeightOf(now) - client.bottom + MulDiv(132, density, 96)};
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(density, density), reinterpret_cast<LPARAM>(&suggested));
        Application().ProcessMessages();
        ASSERT_EQ(density, Screen().PixelsPerInch());
        RECT taken;
        GetWindowRect(window, &taken);
        GetClientRect(window, &client);
        EXPECT_TRUE(EqualRect(&taken, &suggested)) << Text(taken) << " for " << Text(suggested);
        EXPECT_EQ(MulDiv(589, density, 96), client.right);
        EXPECT_EQ(MulDiv(132, density, 96), client.bottom);
        LayoutFaults faults;
        CheckControls(faults, dialog, dialog->Name());
        EXPECT_TRUE(faults.Empty()) << faults.Report();
        EXPECT_EQ(MulDiv(-12, density, 96), dialog->BitBtn1->Font().Height());
        CheckGlyphSizes(*dialog);
        CheckDroppedDownCalendar(*dialog);
    }
}

TEST_F(Layout, FolderDialogShowsWholeTexts) {
    FolderTree tree;
    dialog->DirectoryEdit1->SetText(FolderTree::Arhiva);
    LayoutFaults faults;
    WhenDialogOpens check([&faults](HWND folderDialog) {
        CheckDialogWindows(faults, folderDialog);
        PressButton(folderDialog, IDCANCEL);
    });
    dialog->DirectoryEdit1->ActivateButton();
    ASSERT_TRUE(check.Opened());
    EXPECT_TRUE(faults.Empty()) << "at " << Screen().PixelsPerInch() << " pixels per inch:" << faults.Report();
}

}  // namespace
