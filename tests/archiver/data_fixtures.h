#pragma once
// Folders and archives for the selection and data-step tests. Everything lives below the
// working folder (the build tree), in a folder per locale, so that the archive checker run by
// ctest afterwards finds the archives and their sources.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "core/paths.h"
#include "support/files.h"

namespace fixtures {

inline std::string FullPath(const std::string& path) {
    char buffer[MAX_PATH * 2];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    return std::string(buffer, n);
}

// <working folder>\checked_archives\<locale id>
inline std::string TestRoot() {
    const std::string root = FullPath("checked_archives");
    CreateDirectoryA(root.c_str(), nullptr);
    const std::string perLocale = root + "\\" + std::to_string(GetUserDefaultLCID());
    CreateDirectoryA(perLocale.c_str(), nullptr);
    return perLocale;
}

// A new, empty folder TestRoot()\name (an old one of that name is removed first).
inline std::string TestFolder(const std::string& name) { return support::FreshFolder(JoinPath(TestRoot(), name)); }

// Tells the archive checker which file every entry of an archive must reproduce (an empty
// source marks a folder entry). One line per entry: stored name, a tab, the source path.
inline void ExpectEntries(const std::string& archive, const std::vector<std::pair<std::string, std::string>>& entries,
                          const std::string& password = "") {
    std::string text = "password\t" + password + "\n";
    for (const auto& [name, source] : entries) text += name + "\t" + source + "\n";
    support::WriteBytes(archive + ".sources", text);
}

}  // namespace fixtures
