#include "app/restore_files.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

#include "app/backup_names.h"
#include "core/dates.h"
#include "core/exceptions.h"
#include "core/paths.h"
#include "core/text.h"

namespace {

constexpr const char* kTemporarySuffix = ".restore.tmp";
constexpr double kSecond = 1.0 / 86400.0;

[[noreturn]] void RaiseLastError(const std::string& what) {
    const DWORD code = GetLastError();
    throw EOSError(what + ": " + SysErrorMessage(code), code);
}

std::string TimeStamp(TDateTime when) {
    const TYMD day = DecodeDate(when);
    const int seconds = std::min(86399, static_cast<int>(std::lround((when - std::floor(when)) * 86400.0)));
    return Format("%04u-%02u-%02u_%02d-%02d-%02d", unsigned{day.Year}, unsigned{day.Month}, unsigned{day.Day},
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
}

}  // namespace

bool IsDatabaseName(const std::string& name, std::string* year) {
    const std::string stem = kNameStem;
    const std::string extension = kDatabaseExtension;
    if (name.size() != stem.size() + 4 + extension.size() || name.compare(0, stem.size(), stem) != 0 ||
        name.compare(stem.size() + 4, extension.size(), extension) != 0)
        return false;
    for (size_t i = stem.size(); i < stem.size() + 4; ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    if (year) *year = name.substr(stem.size(), 4);
    return true;
}

std::string RestoreTemporaryName(const std::string& database) { return database + kTemporarySuffix; }

void RemoveRestoreLeftovers(const std::string& folder) {
    WIN32_FIND_DATAA found;
    const std::string pattern = JoinPath(folder, std::string(kNameStem) + "*" + kDatabaseExtension + kTemporarySuffix);
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA(JoinPath(folder, found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string FreeBackupName(const std::string& database) {
    TDateTime when = Now();
    for (;;) {
        const std::string name = database + "." + TimeStamp(when) + ".bak";
        if (GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES) return name;
        when += kSecond;
    }
}

THeldDatabase::THeldDatabase(const std::string& path) : path_(path) {
    // Sharing deletion alone: a reader or a writer that comes later is refused, and one that has
    // it open already makes this fail; the rename to the .bak needs deletion to be shared.
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        handle_ = h;
        return;
    }
    if (GetLastError() != ERROR_FILE_NOT_FOUND) RaiseLastError(path);
}

THeldDatabase::~THeldDatabase() {
    if (handle_) CloseHandle(handle_);
}

void THeldDatabase::MoveAside(const std::string& to) {
    if (!MoveFileExA(path_.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) RaiseLastError(path_);
    movedTo_ = to;
}

void THeldDatabase::MoveBack() {
    if (movedTo_.empty()) return;
    if (MoveFileExA(movedTo_.c_str(), path_.c_str(), MOVEFILE_WRITE_THROUGH)) movedTo_.clear();
}

void CheckFreeSpace(const std::string& folder, uint64_t bytes) {
    ULARGE_INTEGER available{}, total{};
    // A volume that does not tell is left to the writing to find full.
    if (!GetDiskFreeSpaceExA(AddTrailingBackslash(folder).c_str(), &available, &total, nullptr)) return;
    if (available.QuadPart < bytes)
        throw EOSError(Format("%llu bytes free, %llu needed", static_cast<unsigned long long>(available.QuadPart),
                              static_cast<unsigned long long>(bytes)),
                       ERROR_DISK_FULL);
}

void SetLastWriteTime(void* handle, uint16_t dosDate, uint16_t dosTime) {
    FILETIME local{}, utc{};
    if (!DosDateTimeToFileTime(dosDate, dosTime, &local) || !LocalFileTimeToFileTime(&local, &utc) ||
        !SetFileTime(handle, nullptr, nullptr, &utc))
        RaiseLastError("file time");
}
