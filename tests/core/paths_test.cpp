#include <gtest/gtest.h>

#include "core/paths.h"

TEST(AddTrailingBackslash, ExactlyOneTestOfTheLastCharacter) {
    struct Case {
        const char *in, *out;
    } cases[] = {
        {"c:\\", "c:\\"},
        {"c:\\temp", "c:\\temp\\"},
        {"e:\\arhiva\\", "e:\\arhiva\\"},
        {"x\\\\", "x\\\\"},
        {"c:/data/", "c:/data/\\"},
        {"arhiva", "arhiva\\"},
    };
    for (const Case& c : cases) EXPECT_EQ(AddTrailingBackslash(c.in), c.out) << c.in;
}

TEST(ExtractFilePath, UpToTheLastBackslashOrColon) {
    EXPECT_EQ(ExtractFilePath("d:\\program\\Snimanje.exe"), "d:\\program\\");
    EXPECT_EQ(ExtractFilePath("e:\\arhiva"), "e:\\");
    EXPECT_EQ(ExtractFilePath("c:x"), "c:");
    EXPECT_EQ(ExtractFilePath("arhiva"), "");
}
