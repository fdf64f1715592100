// vorbex.exe's run of the archiver: what it writes is read back unless -n says otherwise.
#include <gtest/gtest.h>

#include <sstream>

#include "archiver/vorbex.h"
#include "cli/run_archiver.h"
#include "core/paths.h"
#include "support/damage.h"
#include "support/files.h"
#include "support/test_data.h"

TEST(RunArchiver, ReadsTheArchiveBackUnlessToldNotTo) {
    const std::string folder = support::FreshFolder("c:\\cli_tests\\read_back");
    support::WriteBytes(JoinPath(folder, "a.txt"), support::TextBytes(200000));
    const std::string archive = JoinPath(folder, "a.zip");
    const struct {
        std::vector<std::string> Options;
        bool ReadBack;
    } cases[] = {{{}, true}, {{"-n"}, false}, {{"-m", "0"}, true}, {{"-n", "-m", "9"}, false}};
    for (const auto& c : cases) {
        std::vector<std::string> args = c.Options;
        args.insert(args.end(), {archive, folder, "a.txt"});
        TVorbex archiver(nullptr);
        int seamCalls = 0;
        // A byte of the entry's data changed between writing and reading back.
        archiver.BeforeVerify = [&](TStream& written) {
            ++seamCalls;
            support::FlipByte(written, 1000);
        };
        std::ostringstream out;
        if (c.ReadBack) {
            try {
                RunArchiver(archiver, ParseCommandLine(args), out);
                ADD_FAILURE() << "a changed archive passed";
            } catch (const EVXException& e) {
                EXPECT_EQ(e.NativeError, vxerr::VerificationFailed);
            }
        } else {
            EXPECT_NO_THROW(RunArchiver(archiver, ParseCommandLine(args), out));
        }
        EXPECT_EQ(seamCalls, c.ReadBack ? 1 : 0) << args.front();
    }
}

TEST(RunArchiver, ABaseFolderThatIsNoFolderIsRefusedBeforeTheArchiveIsTouched) {
    // The archiver would walk the current folder in its place and pack whatever lies there.
    const std::string folder = support::FreshFolder("c:\\cli_tests\\base_dir");
    support::WriteBytes(JoinPath(folder, "a.txt"), support::TextBytes(100));
    const std::string archive = JoinPath(folder, "a.zip");
    for (const std::string& base : {JoinPath(folder, "missing"), JoinPath(folder, "a.txt")}) {
        for (bool update : {false, true}) {
            SCOPED_TRACE(base + (update ? " -u" : ""));
            std::vector<std::string> args = {archive, base, "*.*"};
            if (update) args.insert(args.begin(), "-u");
            TVorbex archiver(nullptr);
            std::ostringstream out;
            try {
                RunArchiver(archiver, ParseCommandLine(args), out);
                ADD_FAILURE() << "packed";
            } catch (const EUsageError& e) {
                EXPECT_EQ(std::string(e.what()), "BASEDIR \"" + base + "\" is not a folder");
            }
            EXPECT_FALSE(IsExistingFile(archive));
        }
    }
}
