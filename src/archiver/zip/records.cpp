#include "archiver/zip/records.h"

#include <cstring>

#include "archiver/common.h"

// ---- byte cursor ---------------------------------------------------------------------------

void TByteReader::Need(size_t n) const {
    if (n > size_ - pos_) throw EVXException(vxerr::DamagedArchive, std::string(what_) + " is cut short", nullptr);
}

uint8_t TByteReader::U8() {
    Need(1);
    return data_[pos_++];
}

uint16_t TByteReader::U16() {
    Need(2);
    uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

uint32_t TByteReader::U32() {
    uint32_t lo = U16();
    uint32_t hi = U16();
    return lo | (hi << 16);
}

uint64_t TByteReader::U64() {
    uint64_t lo = U32();
    uint64_t hi = U32();
    return lo | (hi << 32);
}

void TByteReader::Skip(size_t n) {
    Need(n);
    pos_ += n;
}

void TByteWriter::U16(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
}

void TByteWriter::U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
}

void TByteWriter::U64(uint64_t v) {
    U32(static_cast<uint32_t>(v));
    U32(static_cast<uint32_t>(v >> 32));
}

void TByteWriter::Bytes(const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + n);
}

namespace {

template <size_t N>
std::array<uint8_t, N> Fixed(const TByteWriter& w) {
    std::array<uint8_t, N> out{};
    std::memcpy(out.data(), w.Data().data(), N);
    return out;
}

void ExpectSignature(TByteReader& r, uint32_t signature, const char* what) {
    if (r.U32() != signature)
        throw EVXException(vxerr::DamagedArchive, std::string(what) + " has no signature", nullptr);
}

}  // namespace

// ---- local file header ---------------------------------------------------------------------

std::array<uint8_t, TLocalHeader::Size> TLocalHeader::Encode() const {
    TByteWriter w;
    w.U32(Signature);
    w.U16(VersionNeeded);
    w.U16(Flags);
    w.U16(Method);
    w.U16(Time);
    w.U16(Date);
    w.U32(Crc32);
    w.U32(CompressedSize);
    w.U32(UncompressedSize);
    w.U16(NameLength);
    w.U16(ExtraLength);
    return Fixed<Size>(w);
}

TLocalHeader TLocalHeader::Decode(const uint8_t* bytes) {
    TByteReader r(bytes, Size, "local header");
    ExpectSignature(r, Signature, "local header");
    TLocalHeader h;
    h.VersionNeeded = r.U16();
    h.Flags = r.U16();
    h.Method = r.U16();
    h.Time = r.U16();
    h.Date = r.U16();
    h.Crc32 = r.U32();
    h.CompressedSize = r.U32();
    h.UncompressedSize = r.U32();
    h.NameLength = r.U16();
    h.ExtraLength = r.U16();
    return h;
}

// ---- central directory file header ---------------------------------------------------------

std::array<uint8_t, TCentralHeader::Size> TCentralHeader::Encode() const {
    TByteWriter w;
    w.U32(Signature);
    w.U16(VersionMadeBy);
    w.U16(VersionNeeded);
    w.U16(Flags);
    w.U16(Method);
    w.U16(Time);
    w.U16(Date);
    w.U32(Crc32);
    w.U32(CompressedSize);
    w.U32(UncompressedSize);
    w.U16(NameLength);
    w.U16(ExtraLength);
    w.U16(CommentLength);
    w.U16(DiskNumberStart);
    w.U16(InternalAttributes);
    w.U32(ExternalAttributes);
    w.U32(LocalHeaderOffset);
    return Fixed<Size>(w);
}

TCentralHeader TCentralHeader::Decode(const uint8_t* bytes) {
    TByteReader r(bytes, Size, "central header");
    r.Skip(4);
    TCentralHeader h;
    h.VersionMadeBy = r.U16();
    h.VersionNeeded = r.U16();
    h.Flags = r.U16();
    h.Method = r.U16();
    h.Time = r.U16();
    h.Date = r.U16();
    h.Crc32 = r.U32();
    h.CompressedSize = r.U32();
    h.UncompressedSize = r.U32();
    h.NameLength = r.U16();
    h.ExtraLength = r.U16();
    h.CommentLength = r.U16();
    h.DiskNumberStart = r.U16();
    h.InternalAttributes = r.U16();
    h.ExternalAttributes = r.U32();
    h.LocalHeaderOffset = r.U32();
    return h;
}

// ---- end of central directory record -------------------------------------------------------

std::array<uint8_t, TEndRecord::Size> TEndRecord::Encode() const {
    TByteWriter w;
    w.U32(Signature);
    w.U16(DiskNumber);
    w.U16(CentralDirDisk);
    w.U16(EntriesOnDisk);
    w.U16(TotalEntries);
    w.U32(CentralDirSize);
    w.U32(CentralDirOffset);
    w.U16(CommentLength);
    return Fixed<Size>(w);
}

TEndRecord TEndRecord::Decode(const std::array<uint8_t, Size>& bytes) {
    TByteReader r(bytes.data(), Size, "end record");
    r.Skip(4);
    TEndRecord e;
    e.DiskNumber = r.U16();
    e.CentralDirDisk = r.U16();
    e.EntriesOnDisk = r.U16();
    e.TotalEntries = r.U16();
    e.CentralDirSize = r.U32();
    e.CentralDirOffset = r.U32();
    e.CommentLength = r.U16();
    return e;
}

std::array<uint8_t, TEndRecord::Size> TEndRecord::Empty() { return TEndRecord{}.Encode(); }

// ---- ZIP64 end record and locator ----------------------------------------------------------

std::array<uint8_t, TZip64EndRecord::Size> TZip64EndRecord::Encode() const {
    TByteWriter w;
    w.U32(Signature);
    w.U64(Size - 12);  // size of the record after this field
    w.U16(VersionMadeBy);
    w.U16(VersionNeeded);
    w.U32(DiskNumber);
    w.U32(CentralDirDisk);
    w.U64(EntriesOnDisk);
    w.U64(TotalEntries);
    w.U64(CentralDirSize);
    w.U64(CentralDirOffset);
    return Fixed<Size>(w);
}

TZip64EndRecord TZip64EndRecord::Decode(const uint8_t* bytes) {
    TByteReader r(bytes, Size, "ZIP64 end record");
    ExpectSignature(r, Signature, "ZIP64 end record");
    r.Skip(8);
    TZip64EndRecord e;
    e.VersionMadeBy = r.U16();
    e.VersionNeeded = r.U16();
    e.DiskNumber = r.U32();
    e.CentralDirDisk = r.U32();
    e.EntriesOnDisk = r.U64();
    e.TotalEntries = r.U64();
    e.CentralDirSize = r.U64();
    e.CentralDirOffset = r.U64();
    return e;
}

std::array<uint8_t, TZip64Locator::Size> TZip64Locator::Encode() const {
    TByteWriter w;
    w.U32(Signature);
    w.U32(EndRecordDisk);
    w.U64(EndRecordOffset);
    w.U32(TotalDisks);
    return Fixed<Size>(w);
}

std::optional<TZip64Locator> TZip64Locator::Decode(const uint8_t* bytes) {
    TByteReader r(bytes, Size, "ZIP64 locator");
    if (r.U32() != Signature) return std::nullopt;
    TZip64Locator l;
    l.EndRecordDisk = r.U32();
    l.EndRecordOffset = r.U64();
    l.TotalDisks = r.U32();
    return l;
}

// ---- ZIP64 extra field ---------------------------------------------------------------------

std::vector<uint8_t> TZip64Extra::Encode() const {
    if (Empty()) return {};
    TByteWriter w;
    w.U16(HeaderId);
    w.U16(static_cast<uint16_t>(8 * ((UncompressedSize ? 1 : 0) + (CompressedSize ? 1 : 0) +
                                     (LocalHeaderOffset ? 1 : 0))));
    if (UncompressedSize) w.U64(*UncompressedSize);
    if (CompressedSize) w.U64(*CompressedSize);
    if (LocalHeaderOffset) w.U64(*LocalHeaderOffset);
    return w.Data();
}

TZip64Extra TZip64Extra::Find(const uint8_t* extra, size_t length, bool wantUncompressed, bool wantCompressed,
                              bool wantOffset) {
    TZip64Extra out;
    size_t pos = 0;
    while (length - pos >= 4) {
        TByteReader head(extra + pos, 4, "extra field");
        uint16_t id = head.U16();
        uint16_t size = head.U16();
        if (size > length - pos - 4) break;
        if (id == HeaderId) {
            TByteReader r(extra + pos + 4, size, "ZIP64 extra field");
            if (wantUncompressed && r.Left() >= 8) out.UncompressedSize = r.U64();
            if (wantCompressed && r.Left() >= 8) out.CompressedSize = r.U64();
            if (wantOffset && r.Left() >= 8) out.LocalHeaderOffset = r.U64();
            break;
        }
        pos += 4 + size;
    }
    return out;
}

std::vector<uint8_t> WithoutZip64Field(const uint8_t* extra, size_t length) {
    std::vector<uint8_t> out;
    size_t pos = 0;
    while (length - pos >= 4) {
        TByteReader head(extra + pos, 4, "extra field");
        uint16_t id = head.U16();
        uint16_t size = head.U16();
        if (size > length - pos - 4) break;
        if (id != TZip64Extra::HeaderId) out.insert(out.end(), extra + pos, extra + pos + 4 + size);
        pos += 4 + size;
    }
    out.insert(out.end(), extra + pos, extra + length);
    return out;
}
