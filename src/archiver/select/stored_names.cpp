#include "archiver/select/stored_names.h"

#include <vector>

#include "archiver/zip/entry_codec.h"
#include "core/paths.h"
#include "core/regional.h"

namespace {

std::vector<std::string> FoldersAfterDrive(const std::string& folderPart) {
    std::vector<std::string> folders;
    const std::string rest = folderPart.substr(DrivePartOf(folderPart).size());
    size_t start = 0;
    while (start < rest.size()) {
        size_t end = rest.find('\\', start);
        if (end == std::string::npos) end = rest.size();
        if (end > start) folders.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

std::string RelativeTo(const std::string& base, const std::string& full) {
    const std::string baseFolder = AddTrailingBackslash(base);
    if (!SameTextIgnoringCase(DrivePartOf(baseFolder), DrivePartOf(full))) return full;
    const std::vector<std::string> baseFolders = FoldersAfterDrive(baseFolder);
    const std::vector<std::string> fullFolders = FoldersAfterDrive(ExtractFilePath(full));
    size_t common = 0;
    while (common < baseFolders.size() && common < fullFolders.size() &&
           SameTextIgnoringCase(baseFolders[common], fullFolders[common]))
        ++common;
    std::string relative;
    for (size_t i = common; i < baseFolders.size(); ++i) relative += "..\\";
    for (size_t i = common; i < fullFolders.size(); ++i) relative += fullFolders[i] + "\\";
    return relative + ExtractFileName(full);
}

}  // namespace

std::string StoredNameOf(const std::string& full, const std::string& base, TVXStorePathMode mode) {
    std::string s;
    switch (mode) {
        case spNoPath: s = ExtractFileName(full); break;
        case spRelativePath: s = RelativeTo(base, full); break;
        case spFullPath: s = full; break;
    }
    const size_t colon = s.find(':');
    size_t start = colon == std::string::npos ? 0 : colon + 1;
    if (start >= s.size()) return {};
    if (mode != spFullPath && (s[start] == '\\' || s[start] == '/')) ++start;
    return WithForwardSlashes(s.substr(start));
}
