#include <gtest/gtest.h>
#include <windows.h>

#include "archiver/data_fixtures.h"
#include "archiver/select/masks.h"
#include "archiver/select/path_resolution.h"
#include "archiver/select/stored_names.h"
#include "core/paths.h"
#include "core/text.h"
#include "support/files.h"

namespace {

std::string Cwd() {
    char buffer[MAX_PATH * 2];
    return std::string(buffer, GetCurrentDirectoryA(sizeof buffer, buffer));
}

// The platform's own way of resolving folders: make them current and read the current folder
// back. The archiver resolves without touching the current folder and must agree with this.
std::string ReferenceResolve(const std::string& folder, const std::string& path, bool expand) {
    const std::string saved = Cwd();
    std::string entered = folder;
    if (!entered.empty() && entered.back() != '\\') entered += '\\';
    if (!entered.empty()) SetCurrentDirectoryA(entered.c_str());
    std::string result = Cwd();
    if (expand) {
        char buffer[MAX_PATH * 2];
        const DWORD n = path.empty() ? 0 : GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
        result.assign(buffer, n);
    }
    SetCurrentDirectoryA(saved.c_str());
    return result;
}

class MaskFolders : public ::testing::Test {
protected:
    void SetUp() override {
        InitCharTables();
        root = fixtures::TestFolder("masks");
        base = root + "\\base";
        ForceDirectories(base);
        ForceDirectories(base + "\\sub");
        support::WriteBytes(base + "\\data.txt", "x");
        support::WriteBytes(base + "\\sub\\data.txt", "y");
    }
    std::string root, base;
};

}  // namespace

TEST(WildcardMatch, NamesAgainstPatternsIgnoringCase) {
    InitCharTables();
    struct Case {
        const char* name;
        const char* pattern;
        bool match;
    } const cases[] = {
        {"Report.TXT", "report.txt", true}, {"Report.TXT", "report.tx", false}, {"README", "*.*", true},
        {"anything", "*", true},            {"a", "a*", true},                  {"ab", "ab*", true},
        {"ab", "ab**", false},              {"abc", "ab**", true},              {"x", "*x", true},
        {"abx", "*x", true},                {"abxy", "*x", false},              {"a", "?", true},
        {"ab", "?", false},                 {"", "?", false},                   {"", "*", true},
        {"", "", true},                     {"a", "", false},                   {"data.tar.gz", "*.gz", true},
        {"data.tar.gz", "*.tar", false},    {"BRODANIKVESTRA_G2024.fdb", "BRODANIKVESTRA_g????.FDB", true},
        {"a.b", "a?b", true},               {"ab", "a?b", false},               {"x.fdb", "*.fdb*", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.name, c.pattern, true), c.match) << c.name << " / " << c.pattern;
    EXPECT_FALSE(WildcardMatch("Report.TXT", "report.txt", false));
    EXPECT_TRUE(WildcardMatch("Report.TXT", "Report.TXT", false));
}

TEST_F(MaskFolders, FolderPartSelectsExactlyOneFolder) {
    const std::string top = base + "\\data.txt";
    const std::string deep = base + "\\sub\\data.txt";
    struct Case {
        std::string mask;
        bool top, deep;
    } const cases[] = {
        {"*.txt", true, false},                       // no folder part: BaseDir itself
        {"DATA.TXT", true, false},                    // the name part ignores case
        {"sub\\*.txt", false, true},                  // relative to BaseDir
        {base + "\\sub\\*.*", false, true},           // absolute
        {base + "\\*.txt", true, false},
        {"..\\base\\*.txt", true, false},             // "." and ".." resolved
        {"missing\\*.txt", true, false},              // a folder that does not exist tests BaseDir
        {AsciiUpper(base) + "\\*.txt", false, false}, // other letter case: another folder text
        {"", false, false},
        {"sub\\", false, false},                      // empty name part
        {"*.doc", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchesMask(top, c.mask, base), c.top) << c.mask;
        EXPECT_EQ(MatchesMask(deep, c.mask, base), c.deep) << c.mask;
    }
}

TEST_F(MaskFolders, EmptyOrMissingBaseDir) {
    const std::string saved = Cwd();
    SetCurrentDirectoryA(base.c_str());
    EXPECT_TRUE(MatchesMask(base + "\\data.txt", "*.txt", ""));
    EXPECT_FALSE(MatchesMask(base + "\\sub\\data.txt", "*.txt", ""));
    SetCurrentDirectoryA(saved.c_str());
    // A BaseDir that cannot be entered leaves the path's own folder in place: every folder
    // then matches a mask without a folder part.
    EXPECT_TRUE(MatchesMask(base + "\\sub\\data.txt", "*.txt", root + "\\nowhere"));
    EXPECT_EQ(Cwd(), saved);
}

TEST_F(MaskFolders, ResolvingAgreesWithMakingFoldersCurrent) {
    const std::string saved = Cwd();
    SetCurrentDirectoryA(base.c_str());
    const std::string folders[] = {"",      ".",     "..",   "sub", "sub\\", "SUB",         "..\\base\\sub",
                                   "\\",    "sub/",  "nope", "..\\..", base, AsciiUpper(base), base + "\\sub\\.."};
    for (const std::string& f : folders) {
        EXPECT_EQ(ResolveFolder(f), ReferenceResolve(f, "", false)) << "folder " << f;
        for (const std::string& p : {std::string("a.txt"), std::string("..\\a.txt"), std::string("\\x\\a.txt"),
                                     std::string("sub\\..\\b.txt"), base + "\\c.txt", std::string("Z:q.txt")})
            EXPECT_EQ(ExpandInFolder(f, p), ReferenceResolve(f, p, true)) << "folder " << f << " path " << p;
    }
    EXPECT_EQ(Cwd(), base) << "the process's current folder is left alone";
    SetCurrentDirectoryA(saved.c_str());
}

TEST(MakeStoredName, ThreeModes) {
    CreateDirectoryA("c:\\temp_backup", nullptr);
    struct Case {
        const char* path;
        const char* base;
        const char* noPath;
        const char* relative;
        const char* full;
    } const cases[] = {
        {"c:\\temp_backup\\BRODANIKVESTRA_G2024.fdb", "c:\\temp_backup\\", "BRODANIKVESTRA_G2024.fdb",
         "BRODANIKVESTRA_G2024.fdb", "/temp_backup/BRODANIKVESTRA_G2024.fdb"},
        {"c:\\temp_backup\\sub\\a.txt", "c:\\temp_backup\\", "a.txt", "sub/a.txt", "/temp_backup/sub/a.txt"},
        {"d:\\other\\b.txt", "c:\\temp_backup\\", "b.txt", "other/b.txt", "/other/b.txt"},
        {"c:\\other\\x.txt", "c:\\temp_backup", "x.txt", "../other/x.txt", "/other/x.txt"},
        {"sub\\a.txt", "c:\\temp_backup", "a.txt", "sub/a.txt", "/temp_backup/sub/a.txt"},
        {"c:\\top.txt", "c:\\", "top.txt", "top.txt", "/top.txt"},
        // Letter case stays as given; folders are compared ignoring it.
        {"C:\\TEMP_BACKUP\\Sub\\A.txt", "c:\\temp_backup", "A.txt", "Sub/A.txt", "/TEMP_BACKUP/Sub/A.txt"},
        {"c:\\temp_backup\\x.txt", "C:\\Temp_Backup\\", "x.txt", "x.txt", "/temp_backup/x.txt"},
        {"c:\\temp_backup\\\x8A\x9A\xE8.txt", "c:\\temp_backup", "\x8A\x9A\xE8.txt", "\x8A\x9A\xE8.txt",
         "/temp_backup/\x8A\x9A\xE8.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MakeStoredName(c.path, c.base, spNoPath), c.noPath) << c.path;
        EXPECT_EQ(MakeStoredName(c.path, c.base, spRelativePath), c.relative) << c.path;
        EXPECT_EQ(MakeStoredName(c.path, c.base, spFullPath), c.full) << c.path;
    }
    EXPECT_EQ(MakeStoredName("c:\\temp_backup\\", "c:\\temp_backup", spRelativePath), "");
}

TEST(LocaleCase, CroatianLetters) {
    if (GetUserDefaultLCID() != 1050) GTEST_SKIP() << "needs the Croatian locale";
    InitCharTables();
    EXPECT_TRUE(SameChar('i', 'I', true));
    EXPECT_TRUE(SameChar(0x8A, 0x9A, true));  // S and s with caron
    EXPECT_TRUE(SameChar(0xC8, 0xE8, true));  // C and c with caron
    EXPECT_FALSE(SameChar(0xC8, 0xE8, false));
    EXPECT_FALSE(SameChar(0xC8, 'C', true));
    EXPECT_TRUE(WildcardMatch("\x8A" "ifra.txt", "\x9A" "IFRA.*", true));
}

TEST(LocaleCase, TurkishDottedAndDotlessI) {
    if (GetUserDefaultLCID() != 1055) GTEST_SKIP() << "needs the Turkish locale";
    InitCharTables();
    EXPECT_FALSE(SameChar('i', 'I', true));
    EXPECT_TRUE(SameChar('i', 0xDD, true));
    EXPECT_TRUE(SameChar('I', 0xFD, true));
    EXPECT_FALSE(SameChar('i', 0xDD, false));
    EXPECT_TRUE(SameChar('a', 'A', true));
    EXPECT_TRUE(SameChar(0xE7, 0xC7, true));  // c cedilla
    EXPECT_FALSE(SameChar(0xF7, 0xD7, true)); // division sign stays
    EXPECT_FALSE(WildcardMatch("FILE.TXT", "file.txt", true));
    EXPECT_TRUE(WildcardMatch("F\xDDLE.TXT", "file.txt", true));
}
