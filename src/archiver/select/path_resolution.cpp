#include "archiver/select/path_resolution.h"

#include "archiver/select/masks_platform.h"
#include "core/paths.h"

namespace {

// The current folder is read back without a trailing backslash, except at a drive root
// ("c:\") or a share root ("\\server\share\").
std::string AsCurrentFolder(std::string full) {
    if (full.size() <= 1 || full.back() != '\\') return full;
    if (full.size() == 3 && HasDriveLetter(full)) return full;
    if (IsUncPath(full)) {
        int separators = 0;
        for (char c : full) separators += c == '\\';
        if (separators <= 4) return full;
    }
    full.pop_back();
    return full;
}

}  // namespace

TFolderWalk::TFolderWalk() : current_(CurrentFolder()) {}

std::string TFolderWalk::Expand(const std::string& path) const {
    if (path.empty()) return {};
    if (IsUncPath(path)) return FullPathName(path);
    if (HasDriveLetter(path)) {
        if (path.size() > 2 && IsPathSeparator(path[2])) return FullPathName(path);
        // "x:name" counts from the current folder when that lies on drive x; otherwise the
        // platform takes it from the drive's own remembered folder.
        const std::string drive = DrivePartOf(current_);
        if (drive.size() == 2 && (drive[0] | 0x20) == (path[0] | 0x20)) {
            const std::string rest = path.substr(2);
            return FullPathName(rest.empty() ? current_ : current_ + "\\" + rest);
        }
        return FullPathName(path);
    }
    if (IsPathSeparator(path[0])) return FullPathName(DrivePartOf(current_) + path);
    const char last = current_.empty() ? '\\' : current_.back();
    return FullPathName(IsPathSeparator(last) ? current_ + path : current_ + "\\" + path);
}

bool TFolderWalk::Enter(const std::string& folder) {
    if (folder.empty()) return false;
    const std::string full = Expand(folder);
    if (full.empty() || !IsExistingFolder(full)) return false;
    current_ = AsCurrentFolder(full);
    return true;
}

std::string ResolveFolder(const std::string& folder) {
    TFolderWalk walk;
    if (!folder.empty()) walk.Enter(AddTrailingBackslash(folder));
    return walk.Current();
}

std::string ExpandInFolder(const std::string& folder, const std::string& path) {
    TFolderWalk walk;
    if (!folder.empty()) walk.Enter(AddTrailingBackslash(folder));
    return walk.Expand(path);
}
