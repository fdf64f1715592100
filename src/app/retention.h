#pragma once
// The kept number of archives: once a new archive is verified and in its place, the oldest
// archives of its year in its folder beyond the newest keep are removed. Opt-in (0 keeps every
// one) and never run after a backup that did not complete.
#include <cstdint>
#include <string>
#include <vector>

// The key of the dialog's section in the settings file that holds the number (absent or 0: all).
inline constexpr const char* kKeepArchivesKey = "KeepArchives";

struct TPrunedArchives {
    std::vector<std::string> Removed;    // full names
    uint64_t FreedBytes = 0;
    std::vector<std::string> Left;       // due for removal but refused (read-only, held open)
};

// justWritten: the archive this backup wrote, which is one of the kept and never removed, whatever
// the date in its name. Files that are not exactly an archive name of the year are not touched.
TPrunedArchives PruneArchives(const std::string& justWritten, const std::string& year, int keep);
