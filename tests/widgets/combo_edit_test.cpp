#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/forms.h"
#include "widgets/combo_edit.h"
#include "widgets/directory_edit.h"

TEST(PopupOrigin, BelowOrAboveAlignedAndKeptOnTheScreen) {
    const SIZE screen{1024, 768};
    const SIZE popup{200, 150};
    struct Case {
        RECT edit;
        TPopupAlign align;
        LONG x, y;
    } cases[] = {
        {{300, 100, 421, 121}, epaRight, 221, 121},  // right edges line up, below
        {{300, 100, 421, 121}, epaLeft, 300, 121},
        {{300, 700, 421, 721}, epaRight, 221, 550},  // would end below the screen: above
        {{10, 100, 131, 121}, epaRight, 10, 121},    // right-aligned would start left of 0
        {{900, 100, 1021, 121}, epaLeft, 821, 121},  // left-aligned would end past the right edge
        {{-50, 100, 60, 121}, epaLeft, 0, 121},
        {{980, 100, 1100, 121}, epaRight, 824, 121},
    };
    for (const Case& c : cases) {
        POINT p = PopupOrigin(c.edit, popup, screen, c.align);
        EXPECT_EQ(p.x, c.x) << c.edit.left << "," << c.edit.top;
        EXPECT_EQ(p.y, c.y) << c.edit.left << "," << c.edit.top;
    }
}

TEST(ComboEdit, ClickKeyIsAltDownAndTheBaseHasNoPicture) {
    TCustomComboEdit edit(nullptr);
    EXPECT_EQ(edit.ClickKey(), 32808);
    EXPECT_EQ(ShortCut(VK_DOWN, ssAlt), 32808);
    EXPECT_EQ(edit.GlyphKind(), gkCustom);
    EXPECT_EQ(edit.Button()->Picture(), nullptr);
    edit.SetGlyph("FEDITBMP");
    EXPECT_NE(edit.Button()->Picture(), nullptr);
    EXPECT_EQ(SharedGlyph("FEDITBMP"), edit.Button()->Picture());  // one picture per process
    edit.SetGlyphKind(gkDropDown);
    EXPECT_EQ(edit.ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL));
}

TEST(ComboEdit, KeyboardEntrySelectsTheTextOnlyWithDirectInput) {
    for (bool directInput : {true, false}) {
        TForm form(nullptr);
        form.SetBounds(40, 40, 400, 120);
        auto* other = new TCustomComboEdit(&form);
        other->SetParent(&form);
        other->SetBounds(8, 8, 200, 24);
        auto* edit = new TCustomComboEdit(&form);
        edit->SetParent(&form);
        edit->SetBounds(8, 40, 200, 24);
        edit->SetText("c:\\arhiva");
        edit->SetDirectInput(directInput);
        form.Show();
        other->SetFocus();
        edit->SetFocus();  // from another control of the form, no mouse button down
        EXPECT_EQ(edit->SelLength(), directInput ? 9 : 0);
        edit->SetSelStart(2);
        SetFocus(nullptr);
        edit->SetFocus();  // coming back from outside the form keeps the caret where it was
        EXPECT_EQ(edit->SelLength(), 0);
        EXPECT_EQ(edit->SelStart(), 2);
    }
}

// What the screen shows of a window, pixel by pixel, once every waiting paint is done.
static std::vector<COLORREF> ShownPixels(HWND window) {
    UpdateWindow(GetAncestor(window, GA_ROOT));
    RECT r;
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) pixels.push_back(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return pixels;
}

static size_t Changed(const std::vector<COLORREF>& before, const std::vector<COLORREF>& now) {
    size_t n = 0;
    for (size_t i = 0; i < before.size() && i < now.size(); ++i) n += before[i] != now[i];
    return n;
}

// The themed text box draws its focus frame when the focus comes and goes; the button inside its
// border must stay drawn.
TEST(ComboEdit, ButtonStaysDrawnWhileTheFocusComesAndGoes) {
    TForm form(nullptr);
    form.SetBounds(40, 40, 400, 120);
    auto* other = new TCustomComboEdit(&form);
    other->SetParent(&form);
    other->SetBounds(8, 8, 200, 24);
    auto* edit = new TDirectoryEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(8, 40, 200, 24);
    edit->SetText("c:\\arhiva");
    form.Show();
    other->SetFocus();
    Application().ProcessMessages();
    const HWND button = edit->Button()->Handle();
    const std::vector<COLORREF> drawn = ShownPixels(button);
    ASSERT_NE(std::count(drawn.begin(), drawn.end(), GetSysColor(COLOR_BTNFACE)), 0);
    for (int i = 0; i < 2; ++i) {
        edit->SetFocus();
        Application().ProcessMessages();
        EXPECT_EQ(Changed(drawn, ShownPixels(button)), 0u) << "focused, " << i;
        other->SetFocus();
        Application().ProcessMessages();
        EXPECT_EQ(Changed(drawn, ShownPixels(button)), 0u) << "left, " << i;
    }
}
