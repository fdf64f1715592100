#pragma once
// Folders, files and archives for the selection and data-step tests. Everything lives below
// the working folder (the build tree), in a folder per locale, so that the archive checker
// run by ctest afterwards finds the archives and their sources.
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/streams.h"

namespace fixtures {

inline std::string FullPath(const std::string& path) {
    char buffer[MAX_PATH * 2];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    return std::string(buffer, n);
}

inline void DeleteTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
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
inline std::string FreshFolder(const std::string& name) {
    const std::string folder = TestRoot() + "\\" + name;
    DeleteTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

inline void MakeFolder(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    TFileStream f(path, fmCreate);
    f.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
    TFileStream f(path, fmOpenRead | fmShareDenyNone);
    std::string bytes(static_cast<size_t>(f.Size()), '\0');
    f.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}

// Text-like bytes that deflate compresses, but not to nothing.
inline std::string TextBytes(size_t n, uint32_t seed = 1) {
    static const char* const words[] = {"snimanje ", "arhiva ", "podataka ", "racun ", "2024 ", "kvestra\r\n"};
    std::string s;
    s.reserve(n + 16);
    uint32_t x = seed;
    while (s.size() < n) {
        x = x * 1103515245u + 12345u;
        s += words[(x >> 16) % 6];
        if ((x >> 8) % 7 == 0) s += std::to_string(x % 100000);
    }
    s.resize(n);
    return s;
}

inline std::string NoiseBytes(size_t n, uint32_t seed = 7) {
    std::string s(n, '\0');
    uint32_t x = seed;
    for (char& c : s) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
    }
    return s;
}

// Tells the archive checker which file every entry of an archive must reproduce (an empty
// source marks a folder entry). One line per entry: stored name, a tab, the source path.
inline void ExpectEntries(const std::string& archive, const std::vector<std::pair<std::string, std::string>>& entries,
                          const std::string& password = "") {
    std::string text = "password\t" + password + "\n";
    for (const auto& [name, source] : entries) text += name + "\t" + source + "\n";
    WriteBytes(archive + ".sources", text);
}

}  // namespace fixtures
