#include "archiver/select/source_files.h"

#include <windows.h>

#include "core/paths.h"

namespace {

// MS-DOS dates start in 1980; earlier times are stored as its first moment.
constexpr uint32_t kEarliestDosDateTime = (((0u << 9) | (1u << 5) | 1u) << 16);

uint32_t DosDateTimeOfLocal(const FILETIME& local) {
    WORD date = 0, time = 0;
    if (!FileTimeToDosDateTime(&local, &date, &time)) return kEarliestDosDateTime;
    return (static_cast<uint32_t>(date) << 16) | time;
}

}  // namespace

bool ListFolder(const std::string& folder, const std::function<void(const TFoundEntry&)>& onEntry) {
    const std::string pattern = JoinPath(folder, "*.*");
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    struct TFindCloser {
        HANDLE h;
        ~TFindCloser() { FindClose(h); }
    } closer{find};
    do {
        onEntry(TFoundEntry{data.cFileName, data.dwFileAttributes});
    } while (FindNextFileA(find, &data));
    return true;
}

std::optional<TPathInfo> PathInfo(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    FILETIME local;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local)) local = data.ftLastWriteTime;
    return TPathInfo{data.dwFileAttributes, DosDateTimeOfLocal(local)};
}

uint32_t DosDateTimeNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME local;
    if (!SystemTimeToFileTime(&now, &local)) return kEarliestDosDateTime;
    return DosDateTimeOfLocal(local);
}
