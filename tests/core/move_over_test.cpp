// Putting a finished file in place while other programs look into it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

#include "core/move_over.h"
#include "support/files.h"

namespace {
using support::Exists;
using support::ReadBytes;
using support::WriteBytes;

const std::string kRoot = "c:\\move_over_test";
const std::string kFinished = kRoot + "\\arhiva.zip.tmp";
const std::string kEarlier = kRoot + "\\arhiva.zip";

// Another program's handle on a file, closed after a while or when the object goes.
class Look {
public:
    Look(const std::string& path, DWORD sharing, DWORD forMs)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr)) {
        if (forMs != INFINITE) closer_ = std::thread([this, forMs] {
            Sleep(forMs);
            Close();
        });
    }
    ~Look() {
        if (closer_.joinable()) closer_.join();
        Close();
    }
    bool Open() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    void Close() {
        HANDLE h = InterlockedExchangePointer(&handle_, INVALID_HANDLE_VALUE);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    HANDLE handle_;
    std::thread closer_;
};

class MoveOverTest : public ::testing::Test {
protected:
    void SetUp() override {
        support::FreshFolder(kRoot);
        WriteBytes(kFinished, "new");
        WriteBytes(kEarlier, "earlier");
    }
    void TearDown() override {
        support::RemoveTree(kRoot);
    }
};

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kShareAll = kShareReadWrite | FILE_SHARE_DELETE;
}  // namespace

TEST_F(MoveOverTest, WaitsForALookToEndAndNamesAHolder) {
    struct Case {
        const char* What;
        const std::string* Looked;
        DWORD Sharing, ForMs;
        unsigned long Result;
    } cases[] = {
        {"a look into the finished file", &kFinished, kShareReadWrite, 300, 0},
        {"a look into the earlier file", &kEarlier, kShareReadWrite, 300, 0},
        {"a look sharing deletion into the earlier file", &kEarlier, kShareAll, 300, 0},
        {"a holder of the earlier file", &kEarlier, kShareReadWrite, INFINITE, ERROR_SHARING_VIOLATION},
        {"a holder sharing deletion of the earlier file", &kEarlier, kShareAll, INFINITE, ERROR_SHARING_VIOLATION},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        SetUp();
        {
            Look look(*c.Looked, c.Sharing, c.ForMs);
            ASSERT_TRUE(look.Open());
            EXPECT_EQ(MoveOver(kFinished, kEarlier), c.Result);
        }
        EXPECT_EQ(ReadBytes(kEarlier), c.Result == 0 ? "new" : "earlier");
        EXPECT_EQ(Exists(kFinished), c.Result != 0);
        TearDown();
    }
}

TEST_F(MoveOverTest, RemovingWaitsForALookToEnd) {
    {
        Look look(kFinished, kShareReadWrite, 300);
        ASSERT_TRUE(look.Open());
        EXPECT_TRUE(RemoveFile(kFinished));
    }
    EXPECT_FALSE(Exists(kFinished));
    EXPECT_TRUE(RemoveFile(kFinished));
    Look holder(kEarlier, kShareReadWrite, INFINITE);
    EXPECT_FALSE(RemoveFile(kEarlier));
}
