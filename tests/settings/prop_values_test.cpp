#include <gtest/gtest.h>

#include "sample_component.h"
#include "settings/store/placement_text.h"
#include "settings/store/prop_info_list.h"
#include "settings/store/prop_values.h"

namespace {

struct KindCase {
    const char* prop;
    const char* written;  // text of the sample's initial value after it was set by `read`
    const char* read;     // a good text for the property
    const char* bad;      // a text the property must ignore
};

// Each kind both ways: a good text is taken and written back in its canonical form; a bad text
// leaves the value the good text gave.
const KindCase kKinds[] = {
    {"Text", "abc def", "  abc def \t", nullptr},
    {"Count", "-42", " -42 ", "12abc"},
    {"Count", "2147483647", "2147483647", "2147483648"},
    {"Big", "-9000000000", "-9000000000", "9x"},
    {"Letter", "Z", "Zebra", ""},
    {"Colour", "scBlue", "SCBLUE", "scPurple"},
    {"Colours", "[scRed,scBlue]", "[ scblue , scRed ]", nullptr},
    {"Ratio", "2.25", "2.25", "2.2.5"},
    {"Ratio", "-1E20", "-1e20", "1e"},
    {"Enabled", "False", "false", "no"},
};

TEST(PropertyText, EveryKindConvertsBothWaysAndBadTextKeepsTheValue) {
    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(std::string(k.prop) + " <- " + k.read);
        TSampleComponent c(nullptr);
        const TPropInfo* p = TPropInfoList(c).Find(k.prop);
        ASSERT_NE(p, nullptr);
        AssignPropertyText(c, *p, k.read);
        EXPECT_EQ(PropertyValueText(c, *p), k.written);
        if (k.bad) {
            AssignPropertyText(c, *p, k.bad);
            EXPECT_EQ(PropertyValueText(c, *p), k.written) << "after " << k.bad;
        }
    }
}

TEST(PropertyText, SetSkipsUnknownMembersAndEmptyTextClearsIt) {
    TSampleComponent c(nullptr);
    const TPropInfo* p = TPropInfoList(c).Find("Colours");
    AssignPropertyText(c, *p, "[scGreen,scMauve]");
    EXPECT_EQ(c.Colours, 2);
    AssignPropertyText(c, *p, "[]");
    EXPECT_EQ(c.Colours, 0);
    EXPECT_EQ(PropertyValueText(c, *p), "[]");
}

TEST(PropertyText, EventsAreNotStorableProperties) {
    TSampleComponent c(nullptr);
    TPropInfoList list(c);
    EXPECT_EQ(list.Find("OnPing"), nullptr);
    EXPECT_NE(list.Find("name"), nullptr);  // inherited, any case
    EXPECT_EQ(list.Find("name")->Name, "Name");
}

TEST(FloatText, GeneralFormatWithPointSeparator) {
    struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},          {0.1, "0.1"},       {-2.5, "-2.5"},        {100, "100"},
        {1234.5, "1234.5"}, {0.00001, "0.00001"}, {0.000001, "1E-6"},  {1.5e-7, "1.5E-7"},
        {1e20, "1E20"},    {123456789012345.0, "123456789012345"}, {1234567890123456.0, "1.23456789012346E15"},
        {1.0 / 3, "0.333333333333333"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FloatToSettingText(c.value), c.text);
        double back = 0;
        ASSERT_TRUE(SettingTextToFloat(c.text, back)) << c.text;
        EXPECT_DOUBLE_EQ(back, std::stod(c.text)) << c.text;
    }
}

TEST(FloatText, ReadsThePointAndTheLocaleSeparatorAndRejectsTheRest) {
    ASSERT_EQ(LocaleDecimalSeparator(), ',');  // the tests run in the Croatian locale
    double v = 0;
    EXPECT_TRUE(SettingTextToFloat("2,75", v));
    EXPECT_DOUBLE_EQ(v, 2.75);
    EXPECT_TRUE(SettingTextToFloat(" .5 ", v));
    EXPECT_DOUBLE_EQ(v, 0.5);
    for (const char* bad : {"", "-", "1,000.5", "0x10", "inf", "nan", "1e999", "1 2", "E5"}) {
        v = 42;
        EXPECT_FALSE(SettingTextToFloat(bad, v)) << bad;
        EXPECT_EQ(v, 42);
    }
}

}  // namespace

TEST(PositionText, WordsAreReadWithinReachOfAScreen) {
    const std::array<int, 4> defaults{1, 2, 3, 4};
    // Hand-edited values past any screen are held at a million pixels, so that the window's
    // placement can add its size to them.
    EXPECT_EQ(ParsePosition("2147483647,-2147483648 1048577", defaults),
              (std::array<int, 4>{1 << 20, -(1 << 20), 1 << 20, 4}));
    EXPECT_EQ(ParsePosition("40, 60,x", defaults), (std::array<int, 4>{40, 60, 3, 4}));
}
