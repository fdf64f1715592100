#include "app/year_archives.h"

#include <algorithm>

#include "app/backup_names.h"
#include "core/folder_files.h"
#include "core/paths.h"

namespace {

// Exactly count decimal digits at text[at]; their value, or -1.
int DigitsAt(const std::string& text, size_t at, size_t count) {
    if (at + count > text.size()) return -1;
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

TDateTime ArchiveNameDate(const std::string& fileName, const std::string& year) {
    const std::string prefix = std::string(kNameStem) + year + "_";
    const std::string extension = kArchiveExtension;
    // prefix, dd_mm_yyyy, extension
    if (fileName.size() != prefix.size() + 10 + extension.size()) return NullDate;
    if (fileName.compare(0, prefix.size(), prefix) != 0) return NullDate;
    if (fileName.compare(fileName.size() - extension.size(), extension.size(), extension) != 0) return NullDate;
    const size_t at = prefix.size();
    if (fileName[at + 2] != '_' || fileName[at + 5] != '_') return NullDate;
    const int day = DigitsAt(fileName, at, 2), month = DigitsAt(fileName, at + 3, 2), y = DigitsAt(fileName, at + 6, 4);
    if (y < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(y, month)) return NullDate;
    return EncodeDate(y, month, day);
}

TYearArchives ListYearArchives(const std::string& folder, const std::string& year) {
    TYearArchives found;
    // An empty text would search the current drive's root.
    if (folder.empty()) return found;
    std::vector<TFolderEntry> entries;
    found.FolderFound = ListFolder(folder, std::string(kNameStem) + year + "_*", entries);
    for (const TFolderEntry& entry : entries) {
        if (entry.Folder) continue;
        const TDateTime date = ArchiveNameDate(entry.Name, year);
        if (date == NullDate) continue;
        found.Items.push_back({JoinPath(folder, entry.Name), date, entry.Size, entry.WriteTime, entry.ReadOnly});
    }
    std::sort(found.Items.begin(), found.Items.end(), [](const TYearArchive& a, const TYearArchive& b) {
        return a.Date != b.Date ? a.Date < b.Date : a.WriteTime < b.WriteTime;
    });
    return found;
}
