#include "archiver/zip/entry_codec.h"

#include <algorithm>

namespace {

uint32_t Classic(uint64_t value, bool inZip64) {
    return inZip64 || value >= kSaturated32 ? kSaturated32 : static_cast<uint32_t>(value);
}

uint16_t Length16(size_t n) { return static_cast<uint16_t>(n > 0xFFFF ? 0xFFFF : n); }

}  // namespace

TCentralHeader CentralHeaderOf(const TDirItem& item) {
    TCentralHeader h;
    h.VersionMadeBy = item.VersionMadeBy;
    h.VersionNeeded = item.VersionNeeded;
    h.Flags = item.Flags;
    h.Method = item.Method;
    h.Time = item.Time;
    h.Date = item.Date;
    h.Crc32 = item.Crc32;
    h.CompressedSize = Classic(item.CompressedSize, item.InZip64.CompressedSize);
    h.UncompressedSize = Classic(item.UncompressedSize, item.InZip64.UncompressedSize);
    h.DiskNumberStart = item.DiskNumberStart;
    h.InternalAttributes = item.InternalAttributes;
    h.ExternalAttributes = item.ExternalAttributes;
    h.LocalHeaderOffset = Classic(item.LocalHeaderOffset, item.InZip64.LocalHeaderOffset);
    return h;
}

void TakeCentralHeader(const TCentralHeader& h, TDirItem& item) {
    item.VersionMadeBy = h.VersionMadeBy;
    item.VersionNeeded = h.VersionNeeded;
    item.Flags = h.Flags;
    item.Method = h.Method;
    item.Time = h.Time;
    item.Date = h.Date;
    item.Crc32 = h.Crc32;
    item.CompressedSize = h.CompressedSize;
    item.UncompressedSize = h.UncompressedSize;
    item.DiskNumberStart = h.DiskNumberStart;
    item.InternalAttributes = h.InternalAttributes;
    item.ExternalAttributes = h.ExternalAttributes;
    item.LocalHeaderOffset = h.LocalHeaderOffset;
    item.InZip64.CompressedSize = h.CompressedSize == kSaturated32;
    item.InZip64.UncompressedSize = h.UncompressedSize == kSaturated32;
    item.InZip64.LocalHeaderOffset = h.LocalHeaderOffset == kSaturated32;
}

void TakeZip64Values(TDirItem& item) {
    if (!NeedsZip64(item) || !item.ExtraBlock) return;
    const TZip64Extra z = TZip64Extra::Find(item.ExtraBlock->data(), item.ExtraBlock->size(),
                                            item.InZip64.UncompressedSize, item.InZip64.CompressedSize,
                                            item.InZip64.LocalHeaderOffset);
    if (z.UncompressedSize) item.UncompressedSize = *z.UncompressedSize;
    if (z.CompressedSize) item.CompressedSize = *z.CompressedSize;
    if (z.LocalHeaderOffset) item.LocalHeaderOffset = *z.LocalHeaderOffset;
}

bool NeedsZip64(const TDirItem& item) {
    const TCentralHeader h = CentralHeaderOf(item);
    return h.CompressedSize == kSaturated32 || h.UncompressedSize == kSaturated32 ||
           h.LocalHeaderOffset == kSaturated32;
}

std::string WithForwardSlashes(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

const std::string& WrittenName(const TDirItem& item) {
    if (item.LoadedName.empty() || item.LoadedName.size() != item.StoredName.size()) return item.StoredName;
    for (size_t i = 0; i < item.StoredName.size(); ++i) {
        const char loaded = item.LoadedName[i] == '\\' ? '/' : item.LoadedName[i];
        if (loaded != item.StoredName[i]) return item.StoredName;
    }
    return item.LoadedName;
}

std::vector<uint8_t> EncodeCentralEntry(const TDirItem& item) {
    TCentralHeader h = CentralHeaderOf(item);
    std::vector<uint8_t> extra;
    if (NeedsZip64(item)) {
        TZip64Extra z;
        if (h.UncompressedSize == kSaturated32) z.UncompressedSize = item.UncompressedSize;
        if (h.CompressedSize == kSaturated32) z.CompressedSize = item.CompressedSize;
        if (h.LocalHeaderOffset == kSaturated32) z.LocalHeaderOffset = item.LocalHeaderOffset;
        extra = z.Encode();
        if (h.VersionNeeded < kVersionZip64) h.VersionNeeded = kVersionZip64;
    }
    // The ZIP64 field first: a kept extra field may end in bytes that no field header covers,
    // and a field behind them would be out of every reader's reach.
    if (item.ExtraBlock) {
        const std::vector<uint8_t> kept = WithoutZip64Field(item.ExtraBlock->data(), item.ExtraBlock->size());
        extra.insert(extra.end(), kept.begin(), kept.end());
    }
    // Lengths that do not fit 16 bits cannot come from a loaded archive; cut rather than lie.
    if (extra.size() > 0xFFFF) extra.resize(0xFFFF);
    const std::string& name = WrittenName(item);
    h.NameLength = Length16(name.size());
    h.ExtraLength = static_cast<uint16_t>(extra.size());
    h.CommentLength = Length16(item.Comment.size());

    TByteWriter w;
    auto header = h.Encode();
    w.Bytes(header.data(), header.size());
    w.Bytes(name.data(), h.NameLength);
    w.Bytes(extra.data(), extra.size());
    w.Bytes(item.Comment.data(), h.CommentLength);
    return w.Data();
}

std::vector<uint8_t> EncodeLocalEntry(const TDirItem& item, const TLocalValues& values) {
    TLocalHeader local;
    local.VersionNeeded = values.Zip64 ? kVersionZip64 : kVersionDefault;
    local.Flags = values.Encrypted ? kFlagEncrypted : 0;
    local.Method = item.Method;
    local.Time = item.Time;
    local.Date = item.Date;
    local.Crc32 = values.Crc32;
    local.CompressedSize = values.Zip64 ? kSaturated32 : static_cast<uint32_t>(values.CompressedSize);
    local.UncompressedSize = values.Zip64 ? kSaturated32 : static_cast<uint32_t>(values.UncompressedSize);
    local.NameLength = static_cast<uint16_t>(item.StoredName.size());
    TZip64Extra extra;
    if (values.Zip64) {
        extra.UncompressedSize = values.UncompressedSize;
        extra.CompressedSize = values.CompressedSize;
    }
    const std::vector<uint8_t> extraBytes = extra.Encode();
    local.ExtraLength = static_cast<uint16_t>(extraBytes.size());

    TByteWriter w;
    auto header = local.Encode();
    w.Bytes(header.data(), header.size());
    w.Bytes(item.StoredName.data(), item.StoredName.size());
    w.Bytes(extraBytes.data(), extraBytes.size());
    return w.Data();
}
