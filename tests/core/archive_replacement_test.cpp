#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/archive_replacement.h"
#include "core/exceptions.h"
#include "support/files.h"

namespace {
using support::Exists;
using support::ReadBytes;
using support::WriteBytes;

const char* kFolder = "c:\\replacement_test";
const std::string kArchive = std::string(kFolder) + "\\arhiva.zip";

void Remove(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

enum class Earlier { None, Plain, ReadOnly, HeldOpen };

struct ReplacementCase {
    const char* Name;
    Earlier EarlierArchive;
    bool Replaced;
    unsigned long Refusal;  // the error number when it is not replaced: why, for the operator
};

class ArchiveReplacementTest : public ::testing::TestWithParam<ReplacementCase> {
protected:
    void SetUp() override { CreateDirectoryA(kFolder, nullptr); }
    void TearDown() override {
        Remove(kArchive);
        Remove(kArchive + ".tmp");
        RemoveDirectoryA(kFolder);
    }
};

}  // namespace

TEST(ArchiveReplacementName, TemporaryFileSitsBesideTheArchive) {
    // The same folder keeps the final rename on one volume, where it cannot be half done.
    EXPECT_EQ(TArchiveReplacement("e:\\arhiva\\B_05_03_2024.zip").TemporaryName(), "e:\\arhiva\\B_05_03_2024.zip.tmp");
}

TEST_P(ArchiveReplacementTest, NewArchiveTakesTheNameOrTheEarlierOneStaysWhole) {
    const ReplacementCase& c = GetParam();
    TArchiveReplacement replacement(kArchive);
    if (c.EarlierArchive != Earlier::None) WriteBytes(kArchive, "earlier");
    if (c.EarlierArchive == Earlier::ReadOnly) SetFileAttributesA(kArchive.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE holder = INVALID_HANDLE_VALUE;
    if (c.EarlierArchive == Earlier::HeldOpen)
        holder = CreateFileA(kArchive.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    WriteBytes(replacement.TemporaryName(), "new");

    if (c.Replaced) {
        replacement.PutInPlace();
        EXPECT_EQ(ReadBytes(kArchive), "new");
        EXPECT_FALSE(Exists(replacement.TemporaryName()));
    } else {
        try {
            replacement.PutInPlace();
            ADD_FAILURE() << "replaced";
        } catch (const EOSError& e) {
            EXPECT_EQ(e.ErrorCode, c.Refusal);
        }
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
        EXPECT_EQ(ReadBytes(kArchive), "earlier");
        replacement.Discard();
        EXPECT_FALSE(Exists(replacement.TemporaryName()));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ArchiveReplacementTest,
                         ::testing::Values(ReplacementCase{"FirstOfTheDay", Earlier::None, true, 0},
                                           ReplacementCase{"SecondOfTheDay", Earlier::Plain, true, 0},
                                           ReplacementCase{"ProtectedEarlier", Earlier::ReadOnly, false,
                                                           ERROR_ACCESS_DENIED},
                                           ReplacementCase{"EarlierInUse", Earlier::HeldOpen, false,
                                                           ERROR_SHARING_VIOLATION}),
                         [](const auto& info) { return std::string(info.param.Name); });
