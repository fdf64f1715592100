#include "archiver/core_fixtures.h"

#include <windows.h>

#include <fstream>

#include "archiver/base_archiver.h"
#include "archiver/zip/entry_codec.h"

namespace core_fixtures {

std::string CorpusPath(const std::string& name) { return std::string(ARCHIVER_CORPUS_DIR) + "/" + name; }

std::string ResultPath(const std::string& name) {
    CreateDirectoryA(ARCHIVER_RESULTS_DIR, nullptr);
    return std::string(ARCHIVER_RESULTS_DIR) + "/" + name;
}

std::string FreshFolder(const std::string& name) {
    CreateDirectoryA("c:\\core_tests", nullptr);
    std::string folder = "c:\\core_tests\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    return folder;
}

int CountFiles(const std::string& folder) {
    int n = 0;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return n;
}

bool CanOpenExclusively(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void CopyFileTo(const std::string& from, const std::string& to) { CopyFileA(from.c_str(), to.c_str(), FALSE); }

void WriteExpectedNames(const std::string& path, const std::vector<std::string>& names) {
    std::ofstream out(path + ".expect", std::ios::binary | std::ios::trunc);
    for (const std::string& n : names) out << n << "\n";
}

uint16_t U16At(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8)); }
uint32_t U32At(const std::vector<uint8_t>& b, size_t at) { return U16At(b, at) | (uint32_t{U16At(b, at + 2)} << 16); }

void AppendMemoryItem(TVXBaseArchiver& archiver, const std::string& name, const std::string& data) {
    TVXDirArray& items = archiver.Directory()->Items;
    items.SetCount(items.Count() + 1);
    TDirItem& item = *items.ItemPtr(items.Count() - 1);
    item.StoredName = name;
    item.Pending = 1;
    item.EntryCompressionMode = archiver.CompressionMode();
    item.Operation = poAdd;
    auto* source = new TMemoryStream;
    source->WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    item.SourceStream = source;
    item.OwnsSourceStream = true;
    item.VersionMadeBy = kVersionDefault;
    item.VersionNeeded = kVersionDefault;
    item.Method = archiver.CompressionMethod();
    item.Time = 0x5294;  // 10:20:40
    item.Date = 0x5865;  // 2024-03-05
    item.Crc32 = 0xFFFFFFFF;
    item.ExternalAttributes = 0x20;
}

std::vector<std::string> ItemNames(const TVXBaseArchiver& archiver) {
    std::vector<std::string> names;
    const TVXDirArray& items = archiver.Directory()->Items;
    for (int i = 0; i < items.Count(); ++i) names.push_back(items.ItemPtr(i)->StoredName);
    return names;
}

std::vector<std::string> WrittenNames(const TVXBaseArchiver& archiver) {
    std::vector<std::string> names;
    const TVXDirArray& items = archiver.Directory()->Items;
    for (int i = 0; i < items.Count(); ++i) names.push_back(WrittenName(*items.ItemPtr(i)));
    return names;
}

}  // namespace core_fixtures
