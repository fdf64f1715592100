#pragma once
// The entries of one folder as the platform lists them.
#include <cstdint>
#include <string>
#include <vector>

struct TFolderEntry {
    std::string Name;        // without the folder
    uint64_t Size = 0;
    uint64_t WriteTime = 0;  // the last write, in the platform's 100 ns ticks (UTC)
    bool Folder = false;
    bool ReadOnly = false;
};

// The entries of folder whose names match pattern (the platform's wildcards, which also match
// an entry's short 8.3 name: callers that need an exact name check it again). False when the
// folder cannot be listed (missing, refused, a share that does not answer); a folder without a
// match gives true and no entries.
bool ListFolder(const std::string& folder, const std::string& pattern, std::vector<TFolderEntry>& entries);
