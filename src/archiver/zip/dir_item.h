#pragma once
// One item of the in-memory central directory.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archiver/types.h"

class TStream;

struct TDirItem {
    // The item's 46-byte central directory file header in its on-disk layout. Read and change
    // its fields through TCentralHeader or the item helpers of records.h, never by hand-made
    // offsets.
    std::array<uint8_t, 46> Header{};
    std::string StoredName;
    // The name bytes exactly as a loaded central header held them (other writers may use "\\").
    // Written back instead of StoredName while the two still name the same entry, so that the
    // central name keeps matching the entry's local header.
    std::string LoadedName;
    std::string OldName;
    std::string Comment;
    // Extra field bytes of the central header, kept from archives written elsewhere so that a
    // rewritten directory still carries them. A ZIP64 field (0x0001) in it is ignored on
    // writing: the directory writer builds that one from the 64-bit values below.
    std::shared_ptr<std::vector<uint8_t>> ExtraBlock;
    uint8_t Pending = 0;
    std::string EntryPassword;
    TStream* SourceStream = nullptr;
    bool OwnsSourceStream = false;
    int32_t SourcePosition = 0;
    std::string SourcePath;
    uint8_t EntryCompressionMode = 0;
    TVXProcessOperation Operation = poAdd;

    // Full values of the fields that the 32-bit Header saturates at 0xFFFFFFFF (ZIP64). They
    // count only while the Header field holds 0xFFFFFFFF; use ItemCompressedSize() and friends
    // (records.h), which pick the right one, and the Set... helpers, which keep both in step.
    uint64_t CompressedSize64 = 0;
    uint64_t UncompressedSize64 = 0;
    uint64_t LocalHeaderOffset64 = 0;
};
