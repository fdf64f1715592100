#include <gtest/gtest.h>

#include "toolkit/forms.h"
#include "widgets/combo_edit.h"

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
