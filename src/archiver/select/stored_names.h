#pragma once
// Stored names: the entry name a source path gets in the archive.
#include <string>

#include "archiver/select/path_resolution.h"
#include "archiver/common.h"

// The entry name for the absolute path full, relative to the absolute folder base when the mode
// asks for it: "/" separators, no drive, and no leading separator unless the mode is
// spFullPath. Empty when the path has no name left.
std::string StoredNameOf(const std::string& full, const std::string& base, TVXStorePathMode mode);

// The same for a source path and base folder as given, both first made absolute.
inline std::string MakeStoredName(const std::string& path, const std::string& baseFolder, TVXStorePathMode mode) {
    const std::string base = ResolveFolder(baseFolder);
    return StoredNameOf(ExpandInFolder(base, path), base, mode);
}
