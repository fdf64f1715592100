#include <gtest/gtest.h>

#include <windows.h>

#include "core/exceptions.h"
#include "core/ini_file.h"
#include "support/files.h"

namespace {

// A bare name: the platform keeps it in the Windows folder, as it does the program's own file.
const char* kIni = "settings_ini_test.INI";

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteIni(); }
    void TearDown() override { DeleteIni(); }
    static void DeleteIni() { support::DeleteIniFile(kIni); }
    TIniFile ini{kIni};
};

TEST_F(IniFileTest, QuotedValuesSurviveTheRoundTrip) {
    for (const char* value : {"\"c:\\arhiva\"", "'x'", "\"mixed'", "\"", "a\"b\"", "\"\"", "plain"}) {
        ini.WriteString("S", "K", value);
        EXPECT_EQ(ini.ReadString("S", "K", "?"), value);
    }
}

TEST_F(IniFileTest, FolderTextsSurviveTheRoundTrip) {
    const std::string values[] = {
        "d:\\Arhiva \x8a\xe6\xf0\x9e\xe8 \x8a\xc6\xd0\x8e\xc8",  // Croatian letters, code page 1250
        "c:\\a;b", ";c:\\a", "c:\\a ;b", "c:\\a=b", "=c:\\a", "[c:\\a]", "c:\\a\\[b]",
        "c:\\" + std::string(255, 'x'),
    };
    for (const std::string& value : values) {
        ini.WriteString("S", "K", value);
        EXPECT_EQ(ini.ReadString("S", "K", "?"), value);
    }
}

TEST_F(IniFileTest, MissingKeyGivesTheDefaultUnchangedAndAnEmptyValueStaysEmpty) {
    EXPECT_EQ(ini.ReadString("S", "K", " \"padded\" "), " \"padded\" ");
    ini.WriteString("S", "K", "");
    EXPECT_EQ(ini.ReadString("S", "K", "default"), "");
    EXPECT_EQ(ini.ReadString("S", "Other", "default"), "default");
    EXPECT_EQ(ini.ReadString("T", "K", "default"), "default");
}

TEST_F(IniFileTest, LongValuesAreCutToTheBuffer) {
    ini.WriteString("S", "K", std::string(3000, 'x'));
    EXPECT_EQ(ini.ReadString("S", "K", "").size(), 2047u);
}

TEST_F(IniFileTest, IntegersFallBackToTheDefault) {
    ini.WriteInteger("S", "N", -12);
    EXPECT_EQ(ini.ReadInteger("S", "N", 5), -12);
    for (const char* bad : {"", "abc", "12x", "99999999999"}) {
        ini.WriteString("S", "N", bad);
        EXPECT_EQ(ini.ReadInteger("S", "N", 5), 5) << bad;
    }
    EXPECT_EQ(ini.ReadInteger("S", "Missing", -1), -1);
}

TEST(IniFileErrors, RefusedWriteNamesTheFile) {
    TIniFile bad("z:\\no\\such\\folder\\x.ini");
    try {
        bad.WriteString("S", "K", "v");
        FAIL() << "the write was refused silently";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Unable to write to z:\\no\\such\\folder\\x.ini");
    }
}

}  // namespace
