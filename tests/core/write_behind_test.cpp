#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/write_behind.h"
#include "support/files.h"
#include "support/test_data.h"

namespace {
const std::string kRoot = "c:\\write_behind_test";
const std::string kFile = kRoot + "\\podaci.bin";

class WriteBehind : public ::testing::Test {
protected:
    void SetUp() override { support::FreshFolder(kRoot); }
    void TearDown() override { support::RemoveTree(kRoot); }
};
}  // namespace

// The flushes run on their own thread beside the writes to the same handle, many stretches over.
TEST_F(WriteBehind, FlushesBesideTheWriterLeaveTheFileWhole) {
    const std::string data = support::NoiseBytes(300 * 1000 + 17, 5);
    HANDLE file = CreateFileA(kFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    {
        TWriteBehind behind(file, 4096);
        for (size_t at = 0; at < data.size(); at += 1000) {
            const DWORD n = static_cast<DWORD>(std::min<size_t>(1000, data.size() - at));
            DWORD put = 0;
            ASSERT_TRUE(WriteFile(file, data.data() + at, n, &put, nullptr));
            behind.Written(put);
        }
        EXPECT_EQ(behind.Stop(), 0u);
        EXPECT_EQ(behind.Stop(), 0u);  // a second stop, and the destructor's, change nothing
    }
    CloseHandle(file);
    EXPECT_EQ(support::ReadBytes(kFile), data);
}

// A system may tell a failed write-back to one flush only; the writer's final flush would then
// succeed for data that are not on the disk.
TEST_F(WriteBehind, AFailedFlushIsKeptForTheWriter) {
    support::WriteBytes(kFile, "podaci");
    // A handle without write access cannot be flushed.
    HANDLE file = CreateFileA(kFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_FALSE(FlushFileBuffers(file));
    const DWORD refused = GetLastError();
    {
        TWriteBehind behind(file, 4096);
        behind.Written(100);  // not yet a stretch: no flush
        EXPECT_EQ(behind.Stop(), 0u);
    }
    {
        TWriteBehind behind(file, 4096);
        behind.Written(4096);
        EXPECT_EQ(behind.Stop(), refused);
    }
    CloseHandle(file);
}
