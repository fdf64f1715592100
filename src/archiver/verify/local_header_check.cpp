#include "archiver/verify/local_header_check.h"

#include <algorithm>
#include <string>
#include <vector>

#include "archiver/verify/verify_run.h"
#include "archiver/zip/entry_codec.h"
#include "core/streams.h"

namespace {

// The version a reader finds in the central header: the directory writer raises it for a ZIP64
// field.
uint16_t CentralVersionNeeded(const TDirItem& item) {
    return NeedsZip64(item) ? std::max(item.VersionNeeded, kVersionZip64) : item.VersionNeeded;
}

}  // namespace

int64_t CheckLocalHeader(TStream& archive, const TDirItem& item, int64_t startOffset, int64_t dataLimit,
                         const TVerifyRun& run) {
    const std::string entry = "\"" + item.StoredName + "\"";
    const int64_t at = static_cast<int64_t>(item.LocalHeaderOffset) + startOffset;
    if (at < 0 || at + static_cast<int64_t>(TLocalHeader::Size) > dataLimit)
        run.Differs("the local header of " + entry + " lies outside the entries");
    uint8_t fixed[TLocalHeader::Size];
    archive.SetPosition(at);
    archive.ReadBuffer(fixed, sizeof fixed);
    if (!HasSignature(fixed, TLocalHeader::Signature))
        run.Differs("the local header of " + entry + " has no signature");
    const TLocalHeader local = TLocalHeader::Decode(fixed);
    const int64_t dataAt = at + static_cast<int64_t>(TLocalHeader::Size) + local.NameLength + local.ExtraLength;
    if (dataAt + static_cast<int64_t>(item.CompressedSize) > dataLimit)
        run.Differs("the data of " + entry + " run into the central directory");

    std::vector<uint8_t> variable(size_t{local.NameLength} + local.ExtraLength);
    archive.ReadBuffer(variable.data(), static_cast<int64_t>(variable.size()));
    const std::string name(variable.begin(), variable.begin() + local.NameLength);
    // A lower version than the central one asks nothing more of a reader.
    if (WithForwardSlashes(name) != item.StoredName || local.Flags != item.Flags || local.Method != item.Method ||
        local.Time != item.Time || local.Date != item.Date || local.VersionNeeded > CentralVersionNeeded(item))
        run.Differs("the local header of " + entry + " differs from its central header");

    // With a data descriptor the values follow the data, and the central header has them.
    if (local.Flags & kFlagDataDescriptor) return dataAt;
    uint64_t compressed = local.CompressedSize;
    uint64_t uncompressed = local.UncompressedSize;
    const bool wantUncompressed = local.UncompressedSize == kSaturated32;
    const bool wantCompressed = local.CompressedSize == kSaturated32;
    if (wantUncompressed || wantCompressed) {
        const TZip64Extra z = TZip64Extra::Find(variable.data() + local.NameLength, local.ExtraLength,
                                                wantUncompressed, wantCompressed, false);
        if (wantUncompressed) uncompressed = z.UncompressedSize.value_or(kSaturated32);
        if (wantCompressed) compressed = z.CompressedSize.value_or(kSaturated32);
    }
    if (local.Crc32 != item.Crc32 || compressed != item.CompressedSize || uncompressed != item.UncompressedSize)
        run.Differs("the CRC-32 or sizes in the local header of " + entry + " differ from its central header");
    return dataAt;
}
