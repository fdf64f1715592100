#include "cli/archive_tests.h"

#include <memory>

#include "archiver/read/archive_test.h"
#include "cli/run_archiver.h"
#include "core/streams.h"
#include "core/text.h"

namespace {

// One archive; true when it is sound.
bool TestOne(const std::string& path, const std::string& password, std::ostream& out) {
    out << "Archive:  " << path << "\n";
    std::unique_ptr<TFileStream> file;
    try {
        // Others may read it meanwhile, none may change it under the test.
        file = std::make_unique<TFileStream>(path, static_cast<uint16_t>(fmOpenRead | fmShareDenyWrite));
    } catch (const EStreamError& e) {
        out << "  cannot be opened: " << FailureText(e) << "\n";
        return false;
    }
    TArchiveTestOptions options;
    options.Password = password;
    options.Tested = [&out](const TTestedEntry& entry) {
        out << Format("    testing: %-40s ", entry.Name.c_str())
            << (entry.Problem.empty() ? std::string("OK") : "bad: " + entry.Problem) << "\n";
    };
    const TArchiveTest test = TestArchive(*file, options);
    if (!test.Problem.empty()) {
        out << "  cannot be read: " << test.Problem << "\n";
        return false;
    }
    if (test.Sound()) {
        out << Format("No errors detected in compressed data of %s (%d entries).\n", path.c_str(),
                      static_cast<int>(test.Entries.size()));
        return true;
    }
    int bad = 0;
    for (const TTestedEntry& entry : test.Entries) bad += entry.Problem.empty() ? 0 : 1;
    out << Format("%d of %d entries of %s are not sound.\n", bad, static_cast<int>(test.Entries.size()), path.c_str());
    return false;
}

}  // namespace

int TestArchives(const TCommandLine& line, std::ostream& out) {
    int bad = 0;
    for (const std::string& archive : line.Archives) bad += TestOne(archive, line.Password, out) ? 0 : 1;
    const int count = static_cast<int>(line.Archives.size());
    if (count > 1) {
        if (bad == 0)
            out << Format("No errors detected in %d archives.\n", count);
        else
            out << Format("%d of %d archives are not sound.\n", bad, count);
    }
    return bad == 0 ? 0 : 1;
}
