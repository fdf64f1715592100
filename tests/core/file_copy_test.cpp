#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "core/file_copy.h"
#include "support/files.h"
#include "support/test_data.h"

namespace {
using support::Exists;
using support::ReadBytes;
using support::WriteBytes;

const std::string kRoot = "c:\\file_copy_test";
const std::string kSource = kRoot + "\\baza.fdb";
const std::string kDestination = kRoot + "\\kopija.fdb";
const std::string kTemporary = kDestination + ".tmp";

class FileCopy : public ::testing::Test {
protected:
    void SetUp() override { support::FreshFolder(kRoot); }
    void TearDown() override { support::RemoveTree(kRoot); }

    // Copies and records every progress report.
    void Copy() {
        CopyFileDenyingWriters(kSource, kDestination,
                               [this](uint64_t done, uint64_t total) { reports.emplace_back(done, total); });
    }

    // A handle as another program would hold it.
    static HANDLE Open(const std::string& path, DWORD access, DWORD sharing) {
        return CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
    }

    static uint64_t LastWrite(const std::string& path) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
        return (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    }

    std::vector<std::pair<uint64_t, uint64_t>> reports;
};
}  // namespace

TEST_F(FileCopy, SameBytesAndLastWriteTimeAcrossBufferBoundaries) {
    const FILETIME monday = {0xD53E8000u, 0x01DA6E7Au};  // a day in 2024, not today
    // The last size spans more than one stretch that is flushed behind the writer.
    for (size_t size : {size_t(0), size_t(1), size_t(1) << 20, (size_t(1) << 20) + 1, size_t(2621447),
                        (size_t(65) << 20) + 3}) {
        SCOPED_TRACE(size);
        reports.clear();
        const std::string data = support::NoiseBytes(size, static_cast<uint32_t>(size) + 1);
        WriteBytes(kSource, data);
        HANDLE h = Open(kSource, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE);
        SetFileTime(h, nullptr, nullptr, &monday);
        CloseHandle(h);
        WriteBytes(kDestination, "an older copy, longer than the smallest source");

        Copy();
        EXPECT_EQ(ReadBytes(kDestination), data);
        EXPECT_EQ(LastWrite(kDestination), LastWrite(kSource));
        EXPECT_FALSE(Exists(kTemporary));
        ASSERT_GE(reports.size(), 1u);
        EXPECT_EQ(reports.front(), std::make_pair(uint64_t(0), uint64_t(size)));
        EXPECT_EQ(reports.back(), std::make_pair(uint64_t(size), uint64_t(size)));
        for (size_t i = 1; i < reports.size(); ++i) EXPECT_GT(reports[i].first, reports[i - 1].first);
        EXPECT_EQ(reports.size(), 1 + (size + (1 << 20) - 1) / (1 << 20));  // one report a buffer
    }
}

TEST_F(FileCopy, NoWriterWhileItCopiesAndWritersAgainAfter) {
    WriteBytes(kSource, support::NoiseBytes(3u << 20));
    DWORD refusedWith = 0;
    CopyFileDenyingWriters(kSource, kDestination, [&](uint64_t done, uint64_t) {
        if (done == 0) return;
        HANDLE writer = Open(kSource, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
        if (writer == INVALID_HANDLE_VALUE)
            refusedWith = GetLastError();
        else
            CloseHandle(writer);
    });
    EXPECT_EQ(refusedWith, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    HANDLE writer = Open(kSource, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    CloseHandle(writer);
}

TEST_F(FileCopy, OtherHoldersOfTheSource) {
    struct Case {
        const char* Holder;
        DWORD Access, Sharing;
        bool Copies;
    } cases[] = {
        {"a writer that shares reading and writing", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
         false},
        {"a reader that shares nothing", GENERIC_READ, 0, false},
        {"a reader that shares reading", GENERIC_READ, FILE_SHARE_READ, true},
        {"a reader that shares reading and writing", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Holder);
        WriteBytes(kSource, "this year's data");
        WriteBytes(kDestination, "last night's copy");
        HANDLE holder = Open(kSource, c.Access, c.Sharing);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        if (c.Copies) {
            Copy();
            EXPECT_EQ(ReadBytes(kDestination), "this year's data");
        } else {
            try {
                Copy();
                ADD_FAILURE() << "copied";
            } catch (const EFileCopyError& e) {
                EXPECT_EQ(e.ErrorCode, static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
                EXPECT_TRUE(e.Source);
                EXPECT_EQ(e.Path, kSource);
            }
            EXPECT_EQ(ReadBytes(kDestination), "last night's copy");
        }
        CloseHandle(holder);
        EXPECT_FALSE(Exists(kTemporary));
    }
}

TEST_F(FileCopy, FailuresSayWhichSideAndLeaveNothing) {
    struct Case {
        const char* What;
        std::string Source, Destination;
        bool SourceSide;
        DWORD Code;
    } cases[] = {
        {"missing source", kRoot + "\\BRODANIKVESTRA_G2023.fdb", kDestination, true, ERROR_FILE_NOT_FOUND},
        {"missing destination folder", kSource, kRoot + "\\nema\\kopija.fdb", false, ERROR_PATH_NOT_FOUND},
    };
    WriteBytes(kSource, "data");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        try {
            CopyFileDenyingWriters(c.Source, c.Destination, nullptr);
            ADD_FAILURE() << "copied";
        } catch (const EFileCopyError& e) {
            EXPECT_EQ(e.Source, c.SourceSide);
            EXPECT_EQ(e.ErrorCode, static_cast<unsigned long>(c.Code));
            EXPECT_EQ(e.Path, c.SourceSide ? c.Source : c.Destination);
        }
        EXPECT_EQ(support::CountFiles(kRoot), 1);
    }
}

TEST_F(FileCopy, AStopFromTheProgressLeavesTheEarlierCopy) {
    WriteBytes(kSource, support::NoiseBytes(3u << 20));
    WriteBytes(kDestination, "last night's copy");
    struct Stop {};
    EXPECT_THROW(CopyFileDenyingWriters(kSource, kDestination,
                                        [](uint64_t done, uint64_t) {
                                            if (done > 0) throw Stop();
                                        }),
                 Stop);
    EXPECT_EQ(ReadBytes(kDestination), "last night's copy");
    EXPECT_FALSE(Exists(kTemporary));
    // The source is free again.
    HANDLE writer = Open(kSource, GENERIC_WRITE, 0);
    EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    CloseHandle(writer);
}
