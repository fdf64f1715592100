#include <gtest/gtest.h>

#include <windows.h>

#include "core/exceptions.h"
#include "core/paths.h"
#include "support/files.h"

namespace {
class FolderCreation : public ::testing::Test {
protected:
    void SetUp() override {
        support::FreshFolder(root);
        GetCurrentDirectoryA(MAX_PATH, saved);
        SetCurrentDirectoryA(root);
    }
    void TearDown() override {
        SetCurrentDirectoryA(saved);
        support::RemoveTree(root);
    }
    const char* root = "c:\\folder_creation_test";
    char saved[MAX_PATH] = {};
};
}  // namespace

TEST_F(FolderCreation, AbsolutePathsAreMadeLevelByLevel) {
    EXPECT_TRUE(ForceDirectories("c:\\folder_creation_test\\a\\b\\c"));
    EXPECT_TRUE(IsExistingFolder("c:\\folder_creation_test\\a\\b\\c"));
    EXPECT_TRUE(ForceDirectories("c:\\folder_creation_test\\a\\b\\c\\"));  // existing, trailing backslash
    EXPECT_TRUE(ForceDirectories("c:\\"));
    EXPECT_TRUE(ForceDirectories("c:"));
}

TEST_F(FolderCreation, EmptyTextRaisesCode3) {
    try {
        ForceDirectories("");
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), "Unable to create directory");
        EXPECT_EQ(e.ErrorCode, 3);
    }
    EXPECT_TRUE(ForceDirectories("\\"));  // one backslash removed leaves a text too short to make
}

TEST_F(FolderCreation, RelativeTextsFollowTheCurrentFolder) {
    EXPECT_THROW(ForceDirectories("arhiva"), EInOutError);  // missing, first part of three or more
    EXPECT_FALSE(IsExistingFolder("c:\\folder_creation_test\\arhiva"));
    EXPECT_TRUE(ForceDirectories("ab"));  // too short to be made: reported done, nothing made
    EXPECT_FALSE(IsExistingFolder("c:\\folder_creation_test\\ab"));
    CreateDirectoryA("c:\\folder_creation_test\\postoji", nullptr);
    EXPECT_TRUE(ForceDirectories("postoji"));
}

TEST_F(FolderCreation, AMissingDriveIsAFailureNotAnError) {
    EXPECT_FALSE(ForceDirectories("q:\\nowhere\\deeper"));
}

// Windows takes a forward slash for a backslash in paths, and operators type them.
TEST_F(FolderCreation, ForwardSlashesSeparateLevelsToo) {
    for (const char* folder : {"c:/folder_creation_test/f1/a/b", "c:\\folder_creation_test\\f2/a\\b/",
                               "c:/folder_creation_test/f3/"}) {
        SCOPED_TRACE(folder);
        EXPECT_TRUE(ForceDirectories(folder));
        EXPECT_TRUE(IsExistingFolder(folder));
    }
    EXPECT_TRUE(ForceDirectories("c:/"));
}
