#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>

#include "widgets/folder_paths.h"

namespace {

TPathTest OneOf(std::vector<std::string> paths) {
    return [paths](const std::string& p) { return std::find(paths.begin(), paths.end(), p) != paths.end(); };
}

// Every character is 1 unit wide, so maxWidth is a character count.
int CharCount(const std::string& s) { return static_cast<int>(s.size()); }

}  // namespace

TEST(BrowseStartFolder, FallsBackToInitialDirThenToCurrentDrive) {
    struct Case {
        const char* text;
        const char* initialDir;
        const char* expected;
    } cases[] = {
        {"e:\\arhiva", "", "e:\\arhiva"},
        {"", "d:\\init", "d:\\init"},
        {"", "", "\\"},
        {"e:\\missing", "d:\\init", "\\"},  // a text that is no folder does not fall back to InitialDir
        {"", "d:\\gone", "\\"},
        {"c:\\", "", "c:\\"},
    };
    TPathTest isFolder = OneOf({"e:\\arhiva", "d:\\init", "c:\\", "\\"});
    for (const Case& c : cases)
        EXPECT_EQ(BrowseStartFolder(c.text, c.initialDir, isFolder), c.expected) << c.text << "|" << c.initialDir;
}

TEST(TextAfterChoice, DeletesSelectionThenReplacesOrAppends) {
    struct Case {
        const char* text;
        int selStart, selLength;
        bool multiple;
        const char* expected;
    } cases[] = {
        {"c:\\", 0, 0, false, "e:\\x"},
        {"c:\\a;c:\\b", 0, 0, false, "e:\\x"},
        {"c:\\a", 0, 0, true, "c:\\a;e:\\x"},
        {"c:\\a", 0, 4, true, "e:\\x"},              // whole text selected: nothing left to append to
        {"c:\\a;c:\\b", 5, 4, true, "c:\\a;;e:\\x"},  // the separator before the selection stays
        {"", 0, 0, true, "e:\\x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextAfterChoice(c.text, c.selStart, c.selLength, "e:\\x", c.multiple), c.expected) << c.text;
}

TEST(TextAfterDrop, FilesContributeTheirFolder) {
    TPathTest isFile = OneOf({"c:\\data\\a.txt", "c:\\b.txt"});
    std::vector<std::string> dropped = {"c:\\data\\a.txt", "c:\\dir", "c:\\b.txt"};
    EXPECT_EQ(TextAfterDrop("old", dropped, false, isFile), "c:\\data\\");
    EXPECT_EQ(TextAfterDrop("old", dropped, true, isFile), "old;c:\\data\\;c:\\dir;c:\\");
    EXPECT_EQ(TextAfterDrop("", dropped, true, isFile), "c:\\data\\;c:\\dir;c:\\");
    EXPECT_EQ(TextAfterDrop("old", {"c:\\dir"}, false, isFile), "c:\\dir");
}

TEST(FolderListStart, RootsBecomeBareDrivesAndNetworkPathsHaveNone) {
    struct Case {
        const char* absolute;
        const char* folder;
        bool hasDrive;
    } cases[] = {
        {"c:\\", "c:", true},
        {"C:\\Data\\", "C:\\Data", true},
        {"e:\\arhiva", "e:\\arhiva", true},
        {"\\\\server\\share\\folder", "\\\\server\\share\\folder", false},
    };
    for (const Case& c : cases) {
        TFolderListStart s = FolderListStartOf(c.absolute);
        EXPECT_EQ(s.Folder, c.folder);
        EXPECT_EQ(s.HasDrive, c.hasDrive) << c.absolute;
    }
}

TEST(FolderResultForm, OnlyADriveRootKeepsItsBackslash) {
    EXPECT_EQ(FolderResultForm("C:\\"), "C:\\");
    EXPECT_EQ(FolderResultForm("C:"), "C:\\");
    EXPECT_EQ(FolderResultForm("e:\\arhiva\\2024\\"), "e:\\arhiva\\2024");
    EXPECT_EQ(FolderResultForm("e:\\arhiva"), "e:\\arhiva");
}

TEST(PathNameForms, ElementsAfterTheDriveTakeTheReportedNames) {
    std::map<std::string, TFoundName> fs = {
        {"c:\\progra~1", {"Program Files", "PROGRA~1"}},
        {"c:\\progra~1\\data", {"Data", ""}},
        {"c:\\Program Files", {"Program Files", "PROGRA~1"}},
        {"c:\\Program Files\\Data", {"Data", ""}},
        {"c:\\odd", {"", "ODD"}},
    };
    TNameLookup lookup = [&](const std::string& p) -> std::optional<TFoundName> {
        auto it = fs.find(p);
        if (it == fs.end()) return std::nullopt;
        return it->second;
    };
    EXPECT_EQ(ConvertPathNames("c:\\progra~1\\data", TPathNameForm::pnLong, lookup), "c:\\Program Files\\Data");
    EXPECT_EQ(ConvertPathNames("c:\\Program Files\\Data", TPathNameForm::pnShort, lookup), "c:\\PROGRA~1\\Data");
    EXPECT_EQ(ConvertPathNames("c:\\odd", TPathNameForm::pnLong, lookup), "c:\\ODD");
    EXPECT_EQ(ConvertPathNames("c:\\missing\\x", TPathNameForm::pnLong, lookup), "c:\\\\");
    EXPECT_EQ(ConvertPathNames("c:", TPathNameForm::pnLong, lookup), "c:");
    EXPECT_EQ(ConvertPathText("c:\\progra~1;;c:\\odd", true, TPathNameForm::pnLong, lookup),
              "c:\\Program Files;c:\\ODD");
}

TEST(PathNameForms, FileSystemReportsRealNames) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string lower = windows;
    for (char& ch : lower) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    std::string longForm = ConvertPathText(lower, false, TPathNameForm::pnLong, FileSystemName);
    EXPECT_STRCASEEQ(longForm.c_str(), windows);
    EXPECT_EQ(longForm.substr(0, 2), lower.substr(0, 2));  // the drive is kept as written
}

TEST(ShortenFolderPath, DropsMiddleFoldersFromTheLeftThenTheDrive) {
    const std::string path = "C:\\Users\\Operator\\Data\\2024";
    struct Case {
        int width;
        const char* expected;
    } cases[] = {
        {100, "C:\\Users\\Operator\\Data\\2024"},
        {27, "C:\\Users\\Operator\\Data\\2024"},
        {26, "C:\\...\\Operator\\Data\\2024"},
        {20, "C:\\...\\Data\\2024"},
        {14, "C:\\...\\2024"},
        {10, "...\\2024"},
        {3, "...\\2024"},
    };
    for (const Case& c : cases) EXPECT_EQ(ShortenFolderPath(path, c.width, CharCount), c.expected) << c.width;
    EXPECT_EQ(ShortenFolderPath("C:\\", 1, CharCount), "C:\\");
    EXPECT_EQ(ShortenFolderPath("C:\\Verylongname", 5, CharCount), "...\\Verylongname");
    EXPECT_EQ(ShortenFolderPath("\\\\srv\\share\\alpha\\beta\\c", 20, CharCount), "\\\\srv\\share\\...\\c");
}
