#include <gtest/gtest.h>

#include <windows.h>

#include "core/streams.h"

TEST(MemoryStream, ReadsBackWhatWasWritten) {
    TMemoryStream m;
    m.WriteBuffer("abcdef", 6);
    m.SetPosition(2);
    char buf[4] = {};
    m.ReadBuffer(buf, 3);
    EXPECT_STREQ(buf, "cde");
    EXPECT_THROW(m.ReadBuffer(buf, 2), EReadError);
    m.SetSize(3);
    EXPECT_EQ(m.Size(), 3);
    EXPECT_EQ(m.Position(), 3);
}

TEST(FileStream, CreateAndOpenErrorsCarryTheFileNameAndTheSystemsReason) {
    try {
        TFileStream f("x:\\no\\such\\dir\\a.bin", fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot create file \"x:\\no\\such\\dir\\a.bin\". ", 0), 0u) << e.Message();
        EXPECT_EQ(e.OsError, static_cast<unsigned long>(ERROR_PATH_NOT_FOUND));
    }
    try {
        TFileStream f("c:\\no_such_file.bin", fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot open file \"c:\\no_such_file.bin\". ", 0), 0u) << e.Message();
        EXPECT_EQ(e.OsError, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    }
}

TEST(FileStream, CompatSharingShutsOutOthers) {
    const char* name = "c:\\share_test.bin";
    { TFileStream f(name, fmCreate); f.WriteBuffer("12345", 5); }
    {
        TFileStream held(name, fmOpenRead | fmShareCompat);
        EXPECT_THROW(TFileStream(name, fmOpenRead | fmShareDenyNone), EFOpenError);
    }
    {
        TFileStream held(name, fmOpenRead | fmShareDenyNone);
        TFileStream second(name, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(second.Size(), 5);
    }
    DeleteFileA(name);
}
