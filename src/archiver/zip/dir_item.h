#pragma once
// One item of the in-memory central directory, decoded: the central header's fields as named
// members (sizes and offset in full 64 bits), the entry's name, extra field and comment, and what
// the commit needs to write a pending one. The item turns into bytes only when it is written
// (entry_codec.h), and that is where ZIP64 is decided.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archiver/common.h"

class TStream;

// Where one sync-flushed chunk of an entry's deflate data begins: in the entry's data (after the
// local header, name and extra field) and in its source.
struct TDataChunk {
    uint64_t Data = 0;
    uint64_t Source = 0;
};

struct TDirItem {
    uint16_t VersionMadeBy = 0;
    uint16_t VersionNeeded = 0;
    uint16_t Flags = 0;
    uint16_t Method = 0;
    uint16_t Time = 0;
    uint16_t Date = 0;
    uint32_t Crc32 = 0;
    uint64_t CompressedSize = 0;
    uint64_t UncompressedSize = 0;
    uint16_t DiskNumberStart = 0;
    uint16_t InternalAttributes = 0;
    uint32_t ExternalAttributes = 0;
    uint64_t LocalHeaderOffset = 0;

    // Values that the central header carries in its ZIP64 field although they fit 32 bits: the
    // ones a loaded header had there, and both sizes of an entry whose local header has them
    // there, so that the two headers agree. A value that does not fit goes there in any case.
    struct TInZip64 {
        bool UncompressedSize = false;
        bool CompressedSize = false;
        bool LocalHeaderOffset = false;
    } InZip64;

    std::string StoredName;
    // The name bytes exactly as a loaded central header held them (other writers may use "\\").
    // Written back instead of StoredName while the two still name the same entry, so that the
    // central name keeps matching the entry's local header.
    std::string LoadedName;
    std::string OldName;
    std::string Comment;
    // Extra field bytes of the central header, kept from archives written elsewhere so that a
    // rewritten directory still carries them. A ZIP64 field (0x0001) in it is ignored on
    // writing: the directory writer builds that one from the values above.
    std::shared_ptr<std::vector<uint8_t>> ExtraBlock;
    uint8_t Pending = 0;
    std::string EntryPassword;
    TStream* SourceStream = nullptr;
    bool OwnsSourceStream = false;
    int32_t SourcePosition = 0;
    std::string SourcePath;
    uint8_t EntryCompressionMode = 0;
    TVXProcessOperation Operation = poAdd;
    // The chunks of deflate data written in several pieces, each ending on a byte boundary, so
    // that a reader with the source's preceding 32 KiB can inflate them side by side. Empty for
    // data of one piece and for entries loaded from a file.
    std::shared_ptr<const std::vector<TDataChunk>> Chunks;

    // The entry's local header now starts at offset; the offset is written as it fits from now on.
    void MoveTo(uint64_t offset) {
        LocalHeaderOffset = offset;
        InZip64.LocalHeaderOffset = false;
    }
};
