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
    // The item's 46-byte central directory file header in its on-disk layout; fields are read
    // and written through the accessors of the records module.
    std::array<uint8_t, 46> Header{};
    std::string StoredName;
    std::string OldName;
    std::string Comment;
    // Extra field bytes of the central header (kept from archives written elsewhere so that a
    // rewritten directory stays valid).
    std::shared_ptr<std::vector<uint8_t>> ExtraBlock;
    uint8_t Pending = 0;
    std::string EntryPassword;
    TStream* SourceStream = nullptr;
    bool OwnsSourceStream = false;
    int32_t SourcePosition = 0;
    std::string SourcePath;
    uint8_t EntryCompressionMode = 0;
    TVXProcessOperation Operation = poAdd;
};
