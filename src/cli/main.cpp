// vorbex.exe: packs files into a ZIP archive with the backup tool's archiver, or lists one.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "archiver/select/masks.h"
#include "archiver/vorbex.h"
#include "cli/command_line.h"
#include "cli/run_archiver.h"
#include "snimanje_version.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "vorbex " << SNIMANJE_VERSION << "\n";
        return 0;
    }
    TCommandLine line;
    try {
        line = ParseCommandLine(args);
    } catch (const EUsageError& e) {
        std::cerr << "vorbex: " << e.what() << "\n" << kUsageText;
        return 2;
    }
    try {
        InitCharTables();
        TVorbex archiver(nullptr);
        RunArchiver(archiver, line, std::cout);
    } catch (const EUsageError& e) {
        std::cerr << "vorbex: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "vorbex: " << FailureText(e) << "\n";
        return 1;
    }
    return 0;
}
