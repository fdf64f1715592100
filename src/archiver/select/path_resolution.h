#pragma once
// A private "current folder" that behaves like the process's one (entering a folder that does
// not exist leaves the previous one in place) without changing the process-wide state, so that
// resolving folders is safe however many threads are running.
#include <string>

class TFolderWalk {
public:
    // Starts at the process's current folder.
    TFolderWalk();

    const std::string& Current() const { return current_; }
    // Like making folder current: relative folders count from Current(). False, and Current()
    // unchanged, when folder is empty or names no existing folder.
    bool Enter(const std::string& folder);
    void Reset(const std::string& folder) { current_ = folder; }
    // path made absolute with Current() as the current folder; empty for an empty path.
    std::string Expand(const std::string& path) const;

private:
    std::string current_;
};

// The absolute form of folder (no trailing backslash except at a drive root); the current
// folder when folder is empty or names no folder that could be entered.
std::string ResolveFolder(const std::string& folder);
// path made absolute with folder (resolved as by ResolveFolder) taken as the current folder.
std::string ExpandInFolder(const std::string& folder, const std::string& path);
