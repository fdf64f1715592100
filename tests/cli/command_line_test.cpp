// The command line of vorbex.exe: what each form of it asks for, and the usage error of each
// wrong one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/command_line.h"

namespace {

// Every field in one text, so that a failing case shows the whole parse.
std::string Describe(const TCommandLine& line) {
    std::string masks;
    for (const std::string& m : line.Masks) masks += "[" + m + "]";
    const std::string threads = line.Threads ? " threads " + std::to_string(line.Threads) : "";
    return std::string(line.Update ? "update " : "") + (line.Verify ? "" : "unverified ") +
           (line.List ? "list " : "") + "mode " + std::to_string(line.CompressionMode) + threads + " password [" +
           line.Password + "] archive [" + line.Archive + "] base [" + line.BaseDir + "] masks " + masks;
}

struct ParseCase {
    const char* What;
    std::vector<std::string> Args;
    const char* Expected;  // Describe() of the parse, or the usage error's text
};

}  // namespace

TEST(ParseCommandLine, AcceptedForms) {
    const ParseCase cases[] = {
        {"the plain form", {"a.zip", "c:\\baza", "*.fdb"},
         "mode 1 password [] archive [a.zip] base [c:\\baza] masks [*.fdb]"},
        {"every option, several masks", {"-u", "-m", "9", "-p", "tajna", "a.zip", "b", "*.txt", "sub\\*.doc"},
         "update mode 9 password [tajna] archive [a.zip] base [b] masks [*.txt][sub\\*.doc]"},
        {"stored", {"-m", "0", "a.zip", "b", "m"}, "mode 0 password [] archive [a.zip] base [b] masks [m]"},
        {"deflate threads", {"-t", "2", "a.zip", "b", "m"},
         "mode 1 threads 2 password [] archive [a.zip] base [b] masks [m]"},
        {"options between the names", {"a.zip", "-u", "b", "-m", "5", "m"},
         "update mode 5 password [] archive [a.zip] base [b] masks [m]"},
        {"an option's value is taken as it stands", {"-p", "-u", "a.zip", "b", "m"},
         "mode 1 password [-u] archive [a.zip] base [b] masks [m]"},
        {"a lone dash is a name", {"a.zip", "b", "-"}, "mode 1 password [] archive [a.zip] base [b] masks [-]"},
        {"after -- everything is a name", {"--", "-u.zip", "b", "-m"},
         "mode 1 password [] archive [-u.zip] base [b] masks [-m]"},
        {"listing", {"-l", "a.zip"}, "list mode 1 password [] archive [a.zip] base [] masks "},
        {"without reading back", {"-u", "-n", "a.zip", "b", "m"},
         "update unverified mode 1 password [] archive [a.zip] base [b] masks [m]"},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(Describe(ParseCommandLine(c.Args)), c.Expected);
    }
}

TEST(ParseCommandLine, UsageErrorsNameWhatIsWrong) {
    const ParseCase cases[] = {
        {"nothing", {}, "ARCHIVE, BASEDIR and at least one MASK are needed"},
        {"no mask", {"a.zip", "b"}, "ARCHIVE, BASEDIR and at least one MASK are needed"},
        {"-m without a value", {"a.zip", "b", "m", "-m"}, "option -m needs a value"},
        {"-p without a value", {"a.zip", "b", "m", "-p"}, "option -p needs a value"},
        {"a mode of two digits", {"-m", "10", "a.zip", "b", "m"},
         "compression mode must be a digit from 0 to 9, not \"10\""},
        {"a mode that is no digit", {"-m", "x", "a.zip", "b", "m"},
         "compression mode must be a digit from 0 to 9, not \"x\""},
        {"no threads", {"-t", "0", "a.zip", "b", "m"}, "threads must be a number from 1 to 4, not \"0\""},
        {"more threads than the pool takes", {"-t", "5", "a.zip", "b", "m"},
         "threads must be a number from 1 to 4, not \"5\""},
        {"threads that are no number", {"-t", "all", "a.zip", "b", "m"},
         "threads must be a number from 1 to 4, not \"all\""},
        {"an empty password", {"-p", "", "a.zip", "b", "m"}, "the password must not be empty"},
        {"an unknown option", {"-x", "a.zip", "b", "m"}, "unknown option -x"},
        {"a long option", {"--update", "a.zip", "b", "m"}, "unknown option --update"},
        {"listing while updating", {"-l", "-u", "a.zip"}, "-l takes no other option"},
        {"listing with a password", {"-l", "-p", "x", "a.zip"}, "-l takes no other option"},
        {"listing unverified", {"-l", "-n", "a.zip"}, "-l takes no other option"},
        {"listing with threads", {"-l", "-t", "2", "a.zip"}, "-l takes no other option"},
        {"listing without an archive", {"-l"}, "-l takes exactly one archive"},
        {"listing two archives", {"-l", "a.zip", "b.zip"}, "-l takes exactly one archive"},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.What);
        try {
            ParseCommandLine(c.Args);
            ADD_FAILURE() << "accepted";
        } catch (const EUsageError& e) {
            EXPECT_STREQ(e.what(), c.Expected);
        }
    }
}
