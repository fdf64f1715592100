#include "support/files.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/paths.h"

namespace support {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f.flush()) throw std::runtime_error("cannot write " + path);
}

void CopyFileTo(const std::string& from, const std::string& to) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) throw std::runtime_error("cannot copy " + from + " to " + to);
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(JoinPath(path, "*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = JoinPath(path, name);
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

std::string FreshFolder(const std::string& path) {
    RemoveTree(path);
    if (!ForceDirectories(path)) throw std::runtime_error("cannot create " + path);
    return path;
}

int CountFiles(const std::string& folder) {
    int n = 0;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(JoinPath(folder, "*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return n;
}

std::string WindowsFolderFile(const std::string& name) {
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    return JoinPath(dir, name);
}

void DeleteIniFile(const std::string& name) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, name.c_str());
    DeleteFileA(WindowsFolderFile(name).c_str());
}

}  // namespace support
