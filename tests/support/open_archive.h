#pragma once
// An archive of a test's own and the archiver that opens it. A header: it compiles where the
// archiver is linked.
#include <string>

#include "archiver/vorbex.h"
#include "core/paths.h"
#include "support/files.h"

namespace support {

// The archive is a.zip in the fresh folder given, a copy of from when that is given; a fresh
// folder beside it (the folder's name and "_tmp") takes the archiver's temporary copies, so
// that a test can see the commit leave none behind.
class TOpenArchive {
public:
    explicit TOpenArchive(const std::string& folder, const std::string& from = "")
        : Folder(FreshFolder(folder)), Temp(FreshFolder(folder + "_tmp")), Path(JoinPath(Folder, "a.zip")) {
        if (!from.empty()) CopyFileTo(from, Path);
    }

    // Opens the archive for appending (OpenDefault): created when it is missing, loaded otherwise.
    TVorbex& Open() {
        Archiver.SetTempDir(Temp);
        Archiver.SetFileName(Path);
        Archiver.OpenDefault();
        return Archiver;
    }

    const std::string Folder, Temp, Path;
    TVorbex Archiver{nullptr};
};

}  // namespace support
