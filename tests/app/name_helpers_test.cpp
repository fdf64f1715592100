#include <gtest/gtest.h>
#include <windows.h>

#include "app/backup_names.h"
#include "app/name_helpers.h"
#include "core/paths.h"

TEST(PadText, ModesLengthsAndUnknownModes) {
    struct Case {
        const char* text;
        int length;
        char mode;
        const char* out;
    } cases[] = {
        {"ab", 5, 's', "00ab0"},   // even length: front first
        {"abc", 6, 's', "0abc00"},  // odd length: back first
        {"7", 2, 'l', "07"},
        {"ab", 4, 'd', "ab00"},
        {"", 3, 'l', "000"},
        {"", 3, 'd', "000"},
        {"", 3, 's', "000"},
        {"abc", 3, 'l', "abc"},
        {"abcd", 2, 'd', "abcd"},  // never shortened
        {"ab", 0, 's', "ab"},
        {"ab", -5, 'l', "ab"},
        {"ab", 5, 'L', "ab"},  // modes are lower case only
        {"ab", 5, 'x', "ab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PadText(c.text, c.length, c.mode, '0'), c.out) << c.text << " " << c.length << " " << c.mode;
}

TEST(DateStamp, TwoDigitDayAndMonthAndThePlainYear) {
    struct Case {
        int y, m, d;
        const char* out;
    } cases[] = {
        {2024, 3, 5, "05_03_2024"},
        {1999, 12, 31, "31_12_1999"},
        {2000, 1, 1, "01_01_2000"},
        {2010, 10, 10, "10_10_2010"},
        {2024, 2, 29, "29_02_2024"},
        {999, 7, 4, "04_07_999"},
    };
    for (const Case& c : cases) EXPECT_EQ(DateStamp(EncodeDate(c.y, c.m, c.d)), c.out);
    EXPECT_EQ(DateStamp(NullDate), "30_12_1899");
    EXPECT_EQ(DateStamp(EncodeDate(2024, 3, 5) + 0.99), "05_03_2024");  // the time part is ignored
}

TEST(YearOfDate, YearOfTheWholeDay) {
    EXPECT_EQ(YearOfDate(EncodeDate(2026, 12, 31) + 0.999), 2026);
    EXPECT_EQ(YearOfDate(NullDate), 1899);
}

TEST(BackupNames, BuiltFromFolderProgramYearAndDate) {
    TBackupNames n = MakeBackupNames("e:\\arhiva", "d:\\program\\", "2024", EncodeDate(2024, 3, 5));
    EXPECT_EQ(n.Source, "d:\\program\\BRODANIKVESTRA_G2024.fdb");
    EXPECT_EQ(n.Staging, "c:\\temp_backup\\BRODANIKVESTRA_G2024.fdb");
    EXPECT_EQ(n.Archive, "e:\\arhiva\\BRODANIKVESTRA_G2024_05_03_2024.zip");

    EXPECT_EQ(MakeBackupNames("e:\\arhiva\\", "d:\\program\\", "2024", EncodeDate(2024, 3, 5)).Archive, n.Archive);
    EXPECT_EQ(MakeBackupNames("c:\\", "d:\\p\\", "2025", EncodeDate(2026, 1, 15)).Archive,
              "c:\\BRODANIKVESTRA_G2025_15_01_2026.zip");
    // The archive is named to the operator in full, as the system resolves the folder typed.
    const std::string current = CurrentFolder();
    SetCurrentDirectoryA("c:\\windows");
    const struct {
        const char* Typed;
        const char* Folder;
    } typed[] = {
        {"e:/arhiva/", "e:\\arhiva\\"},
        {"e:\\arhiva/2024", "e:\\arhiva\\2024\\"},
        {"arhiva", "c:\\windows\\arhiva\\"},
        {"..\\arhiva\\.", "c:\\arhiva\\"},
    };
    for (const auto& t : typed)
        EXPECT_EQ(MakeBackupNames(t.Typed, "d:\\p\\", "2024", EncodeDate(2024, 3, 5)).Archive,
                  std::string(t.Folder) + "BRODANIKVESTRA_G2024_05_03_2024.zip")
            << t.Typed;
    SetCurrentDirectoryA(current.c_str());

    TBackupNames empty = MakeBackupNames("c:\\", "d:\\p\\", "", NullDate);
    EXPECT_EQ(empty.Source, "d:\\p\\BRODANIKVESTRA_G.fdb");
    EXPECT_EQ(empty.Archive, "c:\\BRODANIKVESTRA_G_30_12_1899.zip");
    // The year text goes in as typed, wildcards and blanks included.
    EXPECT_EQ(MakeBackupNames("c:\\", "d:\\p\\", "20*4 x", NullDate).Staging,
              "c:\\temp_backup\\BRODANIKVESTRA_G20*4 x.fdb");
}
