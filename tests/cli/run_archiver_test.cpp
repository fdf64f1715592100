// vorbex.exe's run of the archiver: what it writes is read back unless -n says otherwise, and a
// run that could not do what it was asked fails.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <sstream>

#include "archiver/vorbex.h"
#include "cli/run_archiver.h"
#include "core/archive_replacement.h"
#include "core/paths.h"
#include "core/text.h"
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

TEST(RunArchiver, WhatDidNotHappenIsNotReportedAsSuccess) {
    const std::string folder = support::FreshFolder("c:\\cli_tests\\no_success");
    support::WriteBytes(JoinPath(folder, "a.txt"), support::TextBytes(100));
    const std::string archive = JoinPath(folder, "a.zip");
    const std::string notArchive = JoinPath(folder, "a.txt");
    const struct {
        const char* What;
        std::vector<std::string> Args;
        std::string Failure;
        std::vector<std::string> Entries;  // in the archive afterwards
    } cases[] = {
        {"listing a file that is no archive", {"-l", notArchive},
         "Archive is damaged: it holds no end of central directory record - Native error: 00032", {}},
        {"a mask that selects nothing beside one that does", {archive, folder, "*.doc", "a.txt", "b*"},
         "no file matches \"*.doc\", \"b*\"", {"a.txt"}},
        {"appending nothing", {"-u", archive, folder, "*.doc"}, "no file matches \"*.doc\"", {"a.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TVorbex archiver(nullptr);
        std::ostringstream out;
        try {
            RunArchiver(archiver, ParseCommandLine(c.Args), out);
            ADD_FAILURE() << "reported as success";
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()), c.Failure);
        }
        if (c.Entries.empty()) continue;
        TVorbex check(nullptr);
        std::ostringstream listing;
        RunArchiver(check, ParseCommandLine({"-l", archive}), listing);
        for (const std::string& name : c.Entries) EXPECT_NE(listing.str().find(" " + name + "\n"), std::string::npos);
        EXPECT_NE(listing.str().find(Format("%d entries", static_cast<int>(c.Entries.size()))), std::string::npos)
            << listing.str();
    }
    EXPECT_EQ(support::ReadBytes(notArchive), support::TextBytes(100));
}

TEST(RunArchiver, AnArchiveThatCannotBeWrittenIsNamedAsSuch) {
    const std::string folder = support::FreshFolder("c:\\cli_tests\\in_use");
    support::WriteBytes(JoinPath(folder, "a.txt"), support::TextBytes(100));
    const std::string archive = JoinPath(folder, "a.zip");
    {
        TVorbex archiver(nullptr);
        std::ostringstream out;
        RunArchiver(archiver, ParseCommandLine({archive, folder, "a.txt"}), out);
    }
    const std::string before = support::ReadBytes(archive);
    // Another program reads it and lets nobody write.
    HANDLE reader = CreateFileA(archive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    TVorbex archiver(nullptr);
    std::ostringstream out;
    try {
        RunArchiver(archiver, ParseCommandLine({"-u", archive, folder, "a.txt"}), out);
        ADD_FAILURE() << "appended";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(),
                  "Cannot open file \"" + archive + "\" for writing: it is read-only or another program has it open");
    }
    CloseHandle(reader);
    EXPECT_EQ(support::ReadBytes(archive), before);
}

TEST(RunArchiver, ANewArchiveTakesTheEarlierOnesPlaceOnlyWhenWhole) {
    // The archive lies in the folder it packs: neither it nor its successor may become an entry.
    const std::string folder = support::FreshFolder("c:\\cli_tests\\replace");
    support::WriteBytes(JoinPath(folder, "a.txt"), support::TextBytes(100));
    support::WriteBytes(JoinPath(folder, "b.txt"), support::TextBytes(300));
    const std::string archive = JoinPath(folder, "a.zip");
    const std::vector<std::string> args = {archive, folder, "*.*"};
    for (int run = 0; run < 2; ++run) {
        TVorbex archiver(nullptr);
        std::ostringstream out;
        RunArchiver(archiver, ParseCommandLine(args), out);
    }
    TVorbex lister(nullptr);
    std::ostringstream listing;
    RunArchiver(lister, ParseCommandLine({"-l", archive}), listing);
    EXPECT_NE(listing.str().find("2 entries"), std::string::npos) << listing.str();
    const std::string earlier = support::ReadBytes(archive);

    const struct {
        const char* What;
        bool ChangeWritten;  // a byte changed between writing and reading back
        bool ReadOnly;       // the operator protected the earlier archive
        std::string Failure;
    } cases[] = {
        {"read back differs", true, false, "Archive verification failed"},
        {"earlier archive read-only", false, true, "Cannot replace \"" + archive + "\": "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        if (c.ReadOnly) SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_READONLY);
        TVorbex archiver(nullptr);
        if (c.ChangeWritten) archiver.BeforeVerify = [](TStream& written) { support::FlipByte(written, 60); };
        std::ostringstream out;
        try {
            RunArchiver(archiver, ParseCommandLine(args), out);
            ADD_FAILURE() << "reported as success";
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.Failure, 0), 0u) << e.what();
        }
        SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(support::ReadBytes(archive), earlier);
        EXPECT_FALSE(IsExistingFile(TemporaryArchiveName(archive)));
    }
}

TEST(VorbexFailureText, AStreamsTransferErrorSaysWhyTheSystemRefused) {
    const std::string diskFull = SysErrorMessage(ERROR_DISK_FULL);
    const struct {
        std::function<void()> Raise;
        std::string Text;
    } cases[] = {
        {[] { throw EWriteError("Stream write error", ERROR_DISK_FULL); }, "Stream write error: " + diskFull},
        {[] { throw EReadError("Stream read error", ERROR_DISK_FULL); }, "Stream read error: " + diskFull},
        // The stream found the fault itself: the system has nothing to add.
        {[] { throw EReadError("Stream read error"); }, "Stream read error"},
        // Opening names its reason already.
        {[] { throw EFOpenError("Cannot open file \"a.zip\". Access denied", ERROR_ACCESS_DENIED); },
         "Cannot open file \"a.zip\". Access denied"},
        {[] { throw EVXException(vxerr::ArchiveNotOpen, nullptr); }, "Archive is not open - Native error: 00013"},
    };
    for (const auto& c : cases) {
        try {
            c.Raise();
        } catch (const std::exception& e) {
            EXPECT_EQ(VorbexFailureText(e), c.Text);
        }
    }
}
