#include "cli/command_line.h"

const char* const kUsageText =
    "usage: vorbex [-u] [-n] [-m MODE] [-t THREADS] [-p PASSWORD] ARCHIVE BASEDIR MASK...\n"
    "       vorbex -l ARCHIVE\n"
    "       vorbex --version\n"
    "  -u           add to an existing archive instead of creating a new one\n"
    "  -n           do not read the archive back to verify what was written\n"
    "  -m MODE      compression mode 0 (stored) to 9 (best); default 1\n"
    "  -t THREADS   threads that deflate one file, 1 to 4; default one per processor\n"
    "  -p PASSWORD  encrypt the new entries (traditional ZIP encryption)\n"
    "  -l           list the entries of ARCHIVE without changing it\n"
    "A MASK without a folder selects files directly in BASEDIR; a relative folder in a MASK\n"
    "counts from BASEDIR.\n";

namespace {

int ParseMode(const std::string& text) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '9')
        throw EUsageError("compression mode must be a digit from 0 to 9, not \"" + text + "\"");
    return text[0] - '0';
}

unsigned ParseThreads(const std::string& text) {
    if (text.size() != 1 || text[0] < '1' || text[0] > '4')
        throw EUsageError("threads must be a number from 1 to 4, not \"" + text + "\"");
    return static_cast<unsigned>(text[0] - '0');
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine line;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw EUsageError("option " + arg + " needs a value");
            return args[++i];
        };
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-u") {
            line.Update = true;
        } else if (arg == "-n") {
            line.Verify = false;
        } else if (arg == "-l") {
            line.List = true;
        } else if (arg == "-m") {
            line.CompressionMode = ParseMode(value());
        } else if (arg == "-t") {
            line.Threads = ParseThreads(value());
        } else if (arg == "-p") {
            line.Password = value();
            if (line.Password.empty()) throw EUsageError("the password must not be empty");
        } else {
            throw EUsageError("unknown option " + arg);
        }
    }
    if (line.List) {
        if (line.Update || !line.Verify || !line.Password.empty() || line.Threads != 0)
            throw EUsageError("-l takes no other option");
        if (positional.size() != 1) throw EUsageError("-l takes exactly one archive");
        line.Archive = positional[0];
        return line;
    }
    if (positional.size() < 3) throw EUsageError("ARCHIVE, BASEDIR and at least one MASK are needed");
    line.Archive = positional[0];
    line.BaseDir = positional[1];
    line.Masks.assign(positional.begin() + 2, positional.end());
    return line;
}
