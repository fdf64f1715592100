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
    for (char c : std::string("a+-. /")) EXPECT_FALSE(m.TypeChar(c, caret, caret, caret)) << c;
    EXPECT_EQ(m.Text(), "05.93.2024");

    caret = 0;
    ASSERT_TRUE(m.TypeChar('1', caret, 3, 10));  // a selection is emptied first
    EXPECT_EQ(m.Text(), "05.1 .    ");
    EXPECT_EQ(caret, 4u);
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
    EXPECT_EQ(m.Paste("5.3.2024", 0, 0), 10u);
    EXPECT_EQ(m.Text(), " 5. 3.2024");
    EXPECT_EQ(m.Paste("1-2", 3, 3), 6u);  // inside the text: digits typed one by one
    EXPECT_EQ(m.Text(), " 5.12.2024");
    EXPECT_EQ(m.Paste("05032024 extra 99", 0, 10), 10u);
    EXPECT_EQ(m.Text(), "05.03.2024");  // no separators: the digits are typed
}

}  // namespace
