#include <gtest/gtest.h>

#include <windows.h>

#include "archiver/errors.h"
#include "archiver/vorbex.h"

namespace {
const char* kArchive = "c:\\flush_test.zip";

DWORD SizeOnDisk(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path, GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}
}  // namespace

TEST(ArchiverFlush, LeavesTheArchiveAsCloseWouldWhileStillOpen) {
    {
        TVorbex archiver(nullptr);
        archiver.SetFileName(kArchive);
        EXPECT_THROW(archiver.Flush(), EVXException);  // nothing open
        archiver.Open(fmCreate);
        archiver.Flush();
        // An archive that got no entries is already a valid empty ZIP: the end record alone.
        EXPECT_EQ(SizeOnDisk(kArchive), 22u);
        archiver.Close();
    }
    EXPECT_EQ(SizeOnDisk(kArchive), 22u);  // Close adds no second end record
    DeleteFileA(kArchive);
}
