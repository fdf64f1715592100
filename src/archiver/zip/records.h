#pragma once
// Stage zip/ owns the ZIP format and nothing else: the records and their byte cursor (here),
// the decoded directory entry (dir_item.h) with its codec (entry_codec.h), and the directory
// array. It reads and writes bytes in memory only; streams and files belong to the other stages.
//
// The ZIP records the archiver reads and writes: local file header, central directory file
// header, data descriptor, end of central directory record, and the ZIP64 end record, locator
// and extra field used only when a value does not fit its classic field. All fields are
// little-endian and go through a byte cursor; each record's signature, size and field offsets
// sit beside its encoder and decoder, and nowhere else.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Sequential little-endian reads from a byte range; reading past the end raises the damaged
// archive error (code 32) naming what was being read.
class TByteReader {
public:
    TByteReader(const uint8_t* data, size_t size, const char* what) : data_(data), size_(size), what_(what) {}
    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    uint64_t U64();
    void Skip(size_t n);
    size_t Position() const { return pos_; }
    size_t Left() const { return size_ - pos_; }

private:
    void Need(size_t n) const;
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    const char* what_;
};

// Sequential little-endian writes into a growing byte vector.
class TByteWriter {
public:
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void U64(uint64_t v);
    void Bytes(const void* data, size_t n);
    const std::vector<uint8_t>& Data() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// Whether the four bytes at bytes hold signature.
inline bool HasSignature(const uint8_t* bytes, uint32_t signature) {
    return bytes[0] == static_cast<uint8_t>(signature) && bytes[1] == static_cast<uint8_t>(signature >> 8) &&
           bytes[2] == static_cast<uint8_t>(signature >> 16) && bytes[3] == static_cast<uint8_t>(signature >> 24);
}

constexpr uint32_t kSaturated32 = 0xFFFFFFFFu;  // a 32-bit field whose value is in the ZIP64 field
constexpr uint16_t kSaturated16 = 0xFFFFu;
constexpr uint16_t kVersionDefault = 20;        // 2.0: deflate, folders, traditional encryption
constexpr uint16_t kVersionZip64 = 45;          // 4.5: ZIP64 records
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDataDescriptor = 0x0008;

struct TLocalHeader {
    static constexpr uint32_t Signature = 0x04034B50;
    static constexpr size_t Size = 30;
    uint16_t VersionNeeded = kVersionDefault;
    uint16_t Flags = 0;
    uint16_t Method = 0;
    uint16_t Time = 0;
    uint16_t Date = 0;
    uint32_t Crc32 = 0;
    uint32_t CompressedSize = 0;
    uint32_t UncompressedSize = 0;
    uint16_t NameLength = 0;
    uint16_t ExtraLength = 0;

    std::array<uint8_t, Size> Encode() const;
    // Raises code 32 when the signature is wrong.
    static TLocalHeader Decode(const uint8_t* bytes);
};

struct TCentralHeader {
    static constexpr uint32_t Signature = 0x02014B50;
    static constexpr size_t Size = 46;
    uint16_t VersionMadeBy = kVersionDefault;
    uint16_t VersionNeeded = kVersionDefault;
    uint16_t Flags = 0;
    uint16_t Method = 0;
    uint16_t Time = 0;
    uint16_t Date = 0;
    uint32_t Crc32 = 0;
    uint32_t CompressedSize = 0;
    uint32_t UncompressedSize = 0;
    uint16_t NameLength = 0;
    uint16_t ExtraLength = 0;
    uint16_t CommentLength = 0;
    uint16_t DiskNumberStart = 0;
    uint16_t InternalAttributes = 0;
    uint32_t ExternalAttributes = 0;
    uint32_t LocalHeaderOffset = 0;

    std::array<uint8_t, Size> Encode() const;
    // Decodes whatever the bytes hold; HasSignature tells whether they are a central header.
    static TCentralHeader Decode(const uint8_t* bytes);
};

// Follows the data of an entry written with kFlagDataDescriptor: an optional signature, the
// CRC-32 and both sizes (8 bytes each for a ZIP64 entry, else 4).
struct TDataDescriptor {
    static constexpr uint32_t Signature = 0x08074B50;
    static constexpr size_t Length(bool withSignature, bool zip64) {
        return (withSignature ? 4 : 0) + 4 + (zip64 ? 16 : 8);
    }
};

struct TEndRecord {
    static constexpr uint32_t Signature = 0x06054B50;
    static constexpr size_t Size = 22;
    static constexpr size_t CommentLengthAt = 20;
    uint16_t DiskNumber = 0;
    uint16_t CentralDirDisk = 0;
    uint16_t EntriesOnDisk = 0;
    uint16_t TotalEntries = 0;
    uint32_t CentralDirSize = 0;
    uint32_t CentralDirOffset = 0;
    uint16_t CommentLength = 0;

    std::array<uint8_t, Size> Encode() const;
    static TEndRecord Decode(const std::array<uint8_t, Size>& bytes);
    // The record of an archive without entries: the signature and 18 zero bytes.
    static std::array<uint8_t, Size> Empty();
};

struct TZip64EndRecord {
    static constexpr uint32_t Signature = 0x06064B50;
    static constexpr size_t Size = 56;  // without the extensible data sector
    uint16_t VersionMadeBy = kVersionZip64;
    uint16_t VersionNeeded = kVersionZip64;
    uint32_t DiskNumber = 0;
    uint32_t CentralDirDisk = 0;
    uint64_t EntriesOnDisk = 0;
    uint64_t TotalEntries = 0;
    uint64_t CentralDirSize = 0;
    uint64_t CentralDirOffset = 0;

    std::array<uint8_t, Size> Encode() const;
    // Raises code 32 when the signature is wrong (HasSignature tells beforehand).
    static TZip64EndRecord Decode(const uint8_t* bytes);
};

struct TZip64Locator {
    static constexpr uint32_t Signature = 0x07064B50;
    static constexpr size_t Size = 20;
    uint32_t EndRecordDisk = 0;
    uint64_t EndRecordOffset = 0;
    uint32_t TotalDisks = 1;

    std::array<uint8_t, Size> Encode() const;
    static std::optional<TZip64Locator> Decode(const uint8_t* bytes);  // none without signature
};

// The ZIP64 extended information extra field (header id 0x0001). Only the values whose classic
// field is saturated are present, in this order.
struct TZip64Extra {
    static constexpr uint16_t HeaderId = 0x0001;
    std::optional<uint64_t> UncompressedSize;
    std::optional<uint64_t> CompressedSize;
    std::optional<uint64_t> LocalHeaderOffset;

    bool Empty() const { return !UncompressedSize && !CompressedSize && !LocalHeaderOffset; }
    // Header id, data length and the present values; nothing when Empty().
    std::vector<uint8_t> Encode() const;
    // Takes the values whose classic fields are saturated from the 0x0001 field of extra, if it
    // has one; values it does not hold stay empty.
    static TZip64Extra Find(const uint8_t* extra, size_t length, bool wantUncompressed, bool wantCompressed,
                            bool wantOffset);
};

// extra without its ZIP64 field (other fields keep their bytes and order). A malformed tail
// that no field header covers is kept as it is.
std::vector<uint8_t> WithoutZip64Field(const uint8_t* extra, size_t length);
