#include <gtest/gtest.h>

#include <set>
#include <string>

#include "toolkit/glyph_bitmaps.h"

namespace {

struct Case {
    int pixelsPerInch;
    std::set<std::string> present;  // the sizes the program has
    const char* expected;
};

TEST(GlyphResourceName, PicksTheDrawnSizeNearestToTheDensity) {
    const std::set<std::string> all = {"GLYPH", "GLYPH_150", "GLYPH_200"};
    const Case cases[] = {
        {96, all, "GLYPH"},
        {72, all, "GLYPH"},
        {108, all, "GLYPH"},       // 112 %: nearer to 100 %
        {120, all, "GLYPH_150"},   // 125 %: halfway, the larger
        {144, all, "GLYPH_150"},
        {168, all, "GLYPH_200"},   // 175 %: halfway, the larger
        {192, all, "GLYPH_200"},
        {288, all, "GLYPH_200"},   // 300 %: the largest there is
        // A glyph drawn at fewer sizes: the next nearest that exists, then the name itself.
        {144, {"GLYPH", "GLYPH_200"}, "GLYPH_200"},
        {120, {"GLYPH", "GLYPH_200"}, "GLYPH"},
        {192, {"GLYPH"}, "GLYPH"},
        {192, {}, "GLYPH"},
    };
    for (const Case& c : cases) {
        auto exists = [&c](const std::string& name) { return c.present.count(name) > 0; };
        EXPECT_EQ(c.expected, GlyphResourceName("GLYPH", c.pixelsPerInch, exists)) << c.pixelsPerInch << " ppi";
    }
}

}  // namespace
