#pragma once
// The build tree's folders the app tests are given (as Z:/... paths), and the archives they keep
// there for real readers to check after the run.
#include <windows.h>

#include <string>

#include "core/paths.h"
#include "support/files.h"

inline std::string WindowsPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// A test's archive, copied under name to where the readers look, with the one entry it must hold.
inline void KeepForReaders(const std::string& archive, const std::string& name) {
    std::string results = WindowsPath(APP_RESULTS_DIR);
    CreateDirectoryA(results.c_str(), nullptr);
    CopyFileA(archive.c_str(), JoinPath(results, name).c_str(), FALSE);
    support::WriteBytes(JoinPath(results, name + ".expect"), "BRODANIKVESTRA_G2024.fdb\n");
}
