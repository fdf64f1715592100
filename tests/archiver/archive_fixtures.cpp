#include "archiver/archive_fixtures.h"

#include <windows.h>

#include "archiver/base_archiver.h"
#include "archiver/zip/entry_codec.h"
#include "core/paths.h"
#include "support/files.h"

namespace archive_fixtures {

std::string CorpusPath(const std::string& name) { return std::string(ARCHIVER_CORPUS_DIR) + "/" + name; }

std::string ResultPath(const std::string& name) {
    CreateDirectoryA(ARCHIVER_RESULTS_DIR, nullptr);
    return std::string(ARCHIVER_RESULTS_DIR) + "/" + name;
}

std::string ScratchPath(const std::string& name) { return JoinPath("c:\\archiver_tests", name); }

std::string ScratchFolder(const std::string& name) { return support::FreshFolder(ScratchPath(name)); }

bool CanOpenExclusively(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    const std::string bytes = support::ReadBytes(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    support::WriteBytes(path, std::string(bytes.begin(), bytes.end()));
}

void WriteExpectedNames(const std::string& path, const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& n : names) text += n + "\n";
    support::WriteBytes(path + ".expect", text);
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

}  // namespace archive_fixtures
