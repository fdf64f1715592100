#pragma once
// Stored names: the entry name a source path gets in the archive.
#include <string>

#include "archiver/types.h"

// The entry name for a source path: "/" separators, no drive, and no leading separator unless
// the mode is spFullPath. Empty when the path has no name left.
std::string MakeStoredName(const std::string& path, const std::string& baseFolder, TVXStorePathMode mode);
