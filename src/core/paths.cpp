#include "core/paths.h"

std::string AddTrailingBackslash(const std::string& folder) {
    if (!folder.empty() && folder.back() == '\\') return folder;
    return folder + "\\";
}

std::string JoinPath(const std::string& folder, const std::string& name) { return AddTrailingBackslash(folder) + name; }

std::string ExtractFilePath(const std::string& path) {
    size_t i = path.find_last_of("\\:");
    return i == std::string::npos ? std::string() : path.substr(0, i + 1);
}

std::string ExtractFileName(const std::string& path) {
    const size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool HasDriveLetter(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool IsUncPath(const std::string& path) {
    return path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]);
}

std::string DrivePartOf(const std::string& path) {
    if (HasDriveLetter(path)) return path.substr(0, 2);
    if (!IsUncPath(path)) return {};
    const size_t server = path.find_first_of("\\/", 2);
    if (server == std::string::npos) return path;
    const size_t share = path.find_first_of("\\/", server + 1);
    return share == std::string::npos ? path : path.substr(0, share);
}
