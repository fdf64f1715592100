#include "widgets/folder_paths.h"

#include <windows.h>

#include "core/paths.h"

namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

bool IsDriveRoot(const std::string& path) { return path.size() == 3 && HasDriveLetter(path) && path[2] == '\\'; }

}  // namespace

std::string BrowseStartFolder(const std::string& text, const std::string& initialDir, const TPathTest& isFolder) {
    std::string name = text;
    if (name.empty()) name = initialDir;
    if (name.empty() || !isFolder(name)) return std::string(1, '\\');
    return name;
}

std::string TextAfterChoice(const std::string& text, int selStart, int selLength, const std::string& name,
                            bool multipleDirs) {
    std::string rest = text;
    if (selStart >= 0 && selLength > 0 && static_cast<size_t>(selStart) < rest.size())
        rest.erase(static_cast<size_t>(selStart), static_cast<size_t>(selLength));
    if (!rest.empty() && multipleDirs) return rest + ";" + name;
    return name;
}

std::string TextAfterDrop(const std::string& text, const std::vector<std::string>& names, bool multipleDirs,
                          const TPathTest& isFile) {
    std::string result = text;
    for (const std::string& dropped : names) {
        std::string entry = dropped;
        if (isFile(dropped)) entry = dropped.substr(0, dropped.find_last_of("\\:") + 1);
        if (!multipleDirs) return entry;
        result = result.empty() ? entry : result + ";" + entry;
    }
    return result;
}

TFolderListStart FolderListStartOf(const std::string& absoluteFolder) {
    TFolderListStart start;
    start.Folder = absoluteFolder;
    if (!start.Folder.empty() && start.Folder.back() == '\\') start.Folder.pop_back();
    start.HasDrive = HasDriveLetter(start.Folder);
    return start;
}

std::string FolderResultForm(const std::string& folder) {
    if (IsDriveRoot(folder)) return folder;
    if (folder.size() == 2 && HasDriveLetter(folder)) return folder + "\\";
    std::string result = folder;
    while (result.size() > 1 && result.back() == '\\' && !IsDriveRoot(result)) result.pop_back();
    return result;
}

std::string ConvertPathNames(const std::string& path, TPathNameForm form, const TNameLookup& lookup) {
    std::vector<std::string> elements = Split(path, '\\');
    std::string original = elements[0];
    std::string result = elements[0];
    for (size_t i = 1; i < elements.size(); ++i) {
        original += "\\" + elements[i];
        std::string name;
        if (std::optional<TFoundName> found = lookup(original)) {
            if (form == TPathNameForm::pnShort)
                name = found->ShortName.empty() ? found->LongName : found->ShortName;
            else
                name = found->LongName.empty() ? found->ShortName : found->LongName;
        }
        result += "\\" + name;
    }
    return result;
}

std::string ConvertPathText(const std::string& text, bool multipleDirs, TPathNameForm form,
                            const TNameLookup& lookup) {
    if (!multipleDirs) return ConvertPathNames(text, form, lookup);
    std::string result;
    for (const std::string& item : Split(text, ';')) {
        std::string converted = ConvertPathNames(item, form, lookup);
        if (converted.empty()) continue;
        if (!result.empty()) result += ";";
        result += converted;
    }
    return result;
}

std::optional<TFoundName> FileSystemName(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return std::nullopt;
    FindClose(find);
    return TFoundName{data.cFileName, data.cAlternateFileName};
}

std::string ShortenFolderPath(const std::string& path, int maxWidth,
                              const std::function<int(const std::string&)>& widthOf) {
    if (widthOf(path) <= maxWidth) return path;
    std::vector<std::string> elements = Split(path, '\\');
    std::string drive = elements[0];
    size_t first = 1;
    if (path.rfind("\\\\", 0) == 0 && elements.size() >= 4) {  // \\server\share is the drive of a network path
        drive = "\\\\" + elements[2] + "\\" + elements[3];
        first = 4;
    }
    if (elements.size() <= first || elements.back().empty()) return path;
    const std::string& last = elements.back();
    std::string candidate;
    for (size_t kept = first + 1; kept < elements.size(); ++kept) {
        candidate = drive + "\\...";
        for (size_t i = kept; i < elements.size(); ++i) candidate += "\\" + elements[i];
        if (widthOf(candidate) <= maxWidth) return candidate;
    }
    return "...\\" + last;
}
