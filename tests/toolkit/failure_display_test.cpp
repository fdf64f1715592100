#include <gtest/gtest.h>

#include "core/exceptions.h"
#include "support/message_box_capture.h"
#include "toolkit/application.h"

TEST(FailureDisplayText, PeriodOnlyAfterBytesAboveThePeriod) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {"Unable to create directory", "Unable to create directory."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"a,", "a,"},
        {"trailing ", "trailing "},
        {"a-", "a-"},                     // 45, just below the period
        {"a/", "a/."},                    // 47, just above it
        {"Why?", "Why?."},
        {"code 00042", "code 00042."},
        {"gre\x9a" "ka", "gre\x9a" "ka."},
        {"\x9a", "\x9a."},                // a letter of code page 1250
        {"tab\t", "tab\t"},
    };
    for (const Case& c : cases) EXPECT_EQ(FailureDisplayText(c.in), c.out) << c.in;
}

TEST(TitleFromExeName, FileNameWithoutFolderAndExtensionLowerCasedAfterTheFirst) {
    EXPECT_EQ(TitleFromExeName("D:\\PROGRAM\\SNIMANJE.EXE"), "Snimanje");
    EXPECT_EQ(TitleFromExeName("c:\\x\\snimanje.exe"), "snimanje");
    EXPECT_EQ(TitleFromExeName("c:\\a.b\\MyTool.Backup.exe"), "Mytool.backup");
    EXPECT_EQ(TitleFromExeName("X"), "X");
}

TEST(HandleException, ShowsTheTextWithPeriodInAStopBox) {
    support::MessageBoxCapture boxes;
    Application().HandleException(std::make_exception_ptr(EInOutError("Unable to create directory", 3)));
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Unable to create directory.");
    EXPECT_EQ(boxes.Boxes[0].Caption, Application().Title());
    EXPECT_EQ(boxes.Boxes[0].Flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
}

TEST(HandleException, SilentAbortAndForeignErrors) {
    support::MessageBoxCapture boxes;
    Application().HandleException(std::make_exception_ptr(EAbort()));
    EXPECT_TRUE(boxes.Boxes.empty());
    Application().HandleException(std::make_exception_ptr(std::runtime_error("plain")));
    Application().HandleException(std::make_exception_ptr(42));
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[0].Text, "plain.");
    EXPECT_EQ(boxes.Boxes[1].Text, "Unknown error.");
}

TEST(ShowMessage, PlainBoxWithTheApplicationTitle) {
    support::MessageBoxCapture boxes;
    ShowMessage("Baze je uspje\x9a" "no snimljena!");
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Baze je uspje\x9a" "no snimljena!");
    EXPECT_EQ(boxes.Boxes[0].Caption, "toolkit_tests");
    EXPECT_EQ(boxes.Boxes[0].Flags, static_cast<UINT>(MB_OK));
}
