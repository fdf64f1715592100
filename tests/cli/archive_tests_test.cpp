// vorbex -T: one line per entry and a summary in the manner of unzip -t, exit code 0 only when
// every archive named is sound, and a command line of -T with options it does not take refused.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "archiver/vorbex.h"
#include "cli/archive_tests.h"
#include "cli/command_line.h"
#include "core/paths.h"
#include "support/files.h"
#include "support/test_data.h"

namespace {

// a.zip of two files below folder, encrypted with password when one is given.
std::string WriteArchive(const std::string& folder, const std::string& password = "") {
    support::WriteBytes(JoinPath(folder, "a.txt"), support::TextBytes(50000));
    support::WriteBytes(JoinPath(folder, "b.txt"), support::TextBytes(7000, 3));
    const std::string path = JoinPath(folder, password.empty() ? "a.zip" : "p.zip");
    TVorbex v(nullptr);
    v.SetPassword(password);
    v.SetFileName(path);
    v.Open(fmCreate);
    v.SetBaseDir(folder);
    v.AddMatchingFiles("*.txt", 63, "");
    v.Close();
    return path;
}

}  // namespace

TEST(ArchiveTests, ReportEachEntryAndExitWithWhetherAllAreSound) {
    const std::string folder = support::FreshFolder("c:\\cli_tests\\archive_tests");
    const std::string sound = WriteArchive(folder);
    const std::string locked = WriteArchive(folder, "tajna");
    std::string bytes = support::ReadBytes(sound);
    bytes[30 + 5 + 100] ^= 0x40;  // in the first entry's deflate data, after its local header and name
    const std::string damaged = JoinPath(folder, "damaged.zip");
    support::WriteBytes(damaged, bytes);
    const std::string missing = JoinPath(folder, "missing.zip");
    const struct {
        std::vector<std::string> Args;
        int Exit;
        std::vector<std::string> Lines;  // each found in the output
    } cases[] = {
        {{"-T", sound}, 0, {"Archive:  " + sound, "testing: a.txt", "OK", "No errors detected in compressed data of"}},
        {{"-T", "-p", "tajna", locked}, 0, {"testing: b.txt", "No errors detected"}},
        {{"-T", locked}, 1, {"bad: encrypted, and no password was given", "2 of 2 entries of " + locked}},
        {{"-T", damaged}, 1, {"bad: the data of \"", "1 of 2 entries"}},
        {{"-T", sound, damaged, missing}, 1, {"cannot be opened", "2 of 3 archives are not sound."}},
        {{"-T", sound, sound}, 0, {"No errors detected in 2 archives."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.back());
        std::ostringstream out;
        EXPECT_EQ(TestArchives(ParseCommandLine(c.Args), out), c.Exit);
        for (const std::string& line : c.Lines)
            EXPECT_NE(out.str().find(line), std::string::npos) << line << "\n" << out.str();
    }
    EXPECT_TRUE(support::ReadBytes(damaged) == bytes) << "the test wrote to the archive";
}

TEST(ArchiveTests, TakeNoOtherOptionThanThePassword) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"-T"}, {"-T", "-u", "a.zip"}, {"-T", "-n", "a.zip"}, {"-T", "-l", "a.zip"}, {"-T", "-t", "2", "a.zip"}}) {
        EXPECT_THROW(ParseCommandLine(args), EUsageError) << args[1 % args.size()];
    }
}
