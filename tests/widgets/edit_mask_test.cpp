// The date edit's input template: what may stand where, and what Text returns.
#include <gtest/gtest.h>

#include "widgets/edit_mask.h"

namespace {

TEST(EditMask, EmptyTemplateShowsBlanksAndReturnsSpaces) {
    TEditMask m("!99/99/9999;1;_", '.');
    EXPECT_EQ(m.Length(), 10u);
    EXPECT_EQ(m.Display(), "__.__.____");
    EXPECT_EQ(m.Text(), "  .  .    ");
    EXPECT_TRUE(m.IsBlank());
    EXPECT_EQ(TEditMask("!9999/99/99;1; ", '-').Display(), "    -  -  ");
    EXPECT_EQ(TEditMask("!99/99/99;1;\x01", '.').Blank(), ' ');  // control characters become a space
}

TEST(EditMask, SettingTexts) {
    const struct {
        const char* in;
        const char* text;
    } cases[] = {
        {"05.03.2024", "05.03.2024"},
        {"", "  .  .    "},
        {"5.3.2024", " 5. 3.2024"},   // short fields are padded in front
        {"5.3.24", " 5. 3.  24"},
        {"05/03/2024", "05.03.2024"}, // a full-length text is taken place by place
        {"ab.cd.efgh", "  .  .    "},
        {"123.456.78901", "12.45.7890"},
        {"07.12.", "07.12.    "},
    };
    TEditMask m("!99/99/9999;1; ", '.');
    for (auto c : cases) {
        m.SetText(c.in);
        EXPECT_EQ(m.Text(), c.text) << c.in;
    }
}

TEST(EditMask, TypingSkipsSeparatorsAndRefusesOtherCharacters) {
    TEditMask m("!99/99/9999;1; ", '.');
    size_t caret = 0;
    for (char c : std::string("05032024")) ASSERT_TRUE(m.TypeChar(c, caret, caret, caret));
    EXPECT_EQ(m.Text(), "05.03.2024");
    EXPECT_EQ(caret, 10u);
    EXPECT_FALSE(m.TypeChar('1', caret, caret, caret));  // no place left

    caret = 2;  // on a separator: the digit goes into the next digit place
    ASSERT_TRUE(m.TypeChar('9', caret, caret, caret));
    EXPECT_EQ(m.Text(), "05.93.2024");
    EXPECT_EQ(caret, 4u);
    for (char c : std::string("a+- /")) EXPECT_FALSE(m.TypeChar(c, caret, caret, caret)) << c;
    EXPECT_EQ(m.Text(), "05.93.2024");

    caret = 0;
    ASSERT_TRUE(m.TypeChar('1', caret, 3, 10));  // a selection is emptied first
    EXPECT_EQ(m.Text(), "05.1 .    ");
    EXPECT_EQ(caret, 4u);
}

// The separator typed where a field has only some of its digits ends that field: what was typed
// moves to the field's end and the caret to the next field, so a date is typed as it is written.
TEST(EditMask, TypingTheSeparatorEndsAField) {
    const struct {
        const char* mask;
        char separator;
        const char* start;  // the text before typing
        size_t caret;
        const char* typed;
        const char* text;
        size_t caretAfter;
    } cases[] = {
        {"!99/99/9999;1; ", '.', "", 0, "5.3.2024", " 5. 3.2024", 10},
        {"!99/99/9999;1; ", '.', "", 0, "05.03.2024", "05.03.2024", 10},  // after a full field the caret is past it
        {"!99/99/9999;1; ", '.', "", 0, "5.3.24", " 5. 3.24  ", 8},
        {"!99/99/9999;1; ", '.', "", 0, "5.3.24.", " 5. 3.  24", 10},     // in the last field it only moves the digits
        {"!99/99/9999;1; ", '.', "", 0, ".", "  .  .    ", 0},            // nothing typed in the field: nothing happens
        {"!99/99/9999;1; ", '.', "07.12.2026", 0, "5.", " 5.12.2026", 3}, // over a date the rest of the field is emptied
        {"!99/99/9999;1; ", '.', "07.12.2026", 4, ".", "07. 1.2026", 6},
        {"!99/99/9999;1; ", '.', "07.12.2026", 2, ".", "07.12.2026", 3},  // before the separator the field is whole
        {"!99/99/9999;1; ", '/', "", 0, "3/5/2024", " 3/ 5/2024", 10},    // month first, as in the US
        {"!99/99/99;1; ", '.', "", 0, "24.3.5", "24. 3.5 ", 7},           // year first, two digits
    };
    for (const auto& c : cases) {
        TEditMask m(c.mask, c.separator);
        m.SetText(c.start);
        size_t caret = c.caret;
        for (char ch : std::string(c.typed)) m.TypeChar(ch, caret, caret, caret);
        EXPECT_EQ(m.Text(), c.text) << c.start << " + " << c.typed;
        EXPECT_EQ(caret, c.caretAfter) << c.start << " + " << c.typed;
    }
    TEditMask m("!99/99/9999;1; ", '.');
    size_t caret = 10;
    EXPECT_FALSE(m.TypeChar('.', caret, caret, caret));  // no field left
    caret = 0;
    ASSERT_TRUE(m.TypeChar('.', caret, 0, 10));  // a selection is emptied first
    EXPECT_EQ(caret, 0u);
}

TEST(EditMask, DeletingEmptiesPlacesButKeepsSeparators) {
    TEditMask m("!99/99/9999;1; ", '.');
    m.SetText("05.03.2024");
    EXPECT_EQ(m.Backspace(6, 6, 6), 4u);  // over the separator to the month's last digit
    EXPECT_EQ(m.Text(), "05.0 .2024");
    EXPECT_EQ(m.Delete(2, 2, 2), 2u);
    EXPECT_EQ(m.Text(), "05.  .2024");
    EXPECT_EQ(m.Backspace(0, 0, 10), 0u);
    EXPECT_EQ(m.Text(), "  .  .    ");
    EXPECT_EQ(m.Backspace(0, 0, 0), 0u);
}

TEST(EditMask, PasteTypesOnlyDigits) {
    TEditMask m("!99/99/9999;1; ", '.');
    size_t caret = 0;
    ASSERT_TRUE(m.Paste("5.3.2024", 0, 0, caret));
    EXPECT_EQ(caret, 10u);
    EXPECT_EQ(m.Text(), " 5. 3.2024");
    ASSERT_TRUE(m.Paste("1-2", 3, 3, caret));  // inside the text: digits typed one by one
    EXPECT_EQ(caret, 6u);
    EXPECT_EQ(m.Text(), " 5.12.2024");
    ASSERT_TRUE(m.Paste("05032024 extra 99", 0, 10, caret));
    EXPECT_EQ(caret, 10u);
    EXPECT_EQ(m.Text(), "05.03.2024");  // no separators: the digits are typed
    ASSERT_TRUE(m.Paste("7.12.2026\r\n", 0, 10, caret));  // a date copied with its line end
    EXPECT_EQ(m.Text(), " 7.12.2026");
    ASSERT_TRUE(m.Paste("1.2.", 0, 0, caret));  // at the start of a filled text: typed field by field
    EXPECT_EQ(m.Text(), " 1. 2.2026");
}

// A text with nothing the template can hold is refused: the date stays as it was.
TEST(EditMask, PastingJunkChangesNothing) {
    TEditMask m("!99/99/9999;1; ", '.');
    m.SetText("07.12.2026");
    for (const char* junk : {"", "abc", " . ", "\r\n", "datum"}) {
        size_t caret = 4;
        EXPECT_FALSE(m.Paste(junk, 0, 10, caret)) << junk;
        EXPECT_EQ(caret, 4u) << junk;
        EXPECT_EQ(m.Text(), "07.12.2026") << junk;
    }
}

}  // namespace
