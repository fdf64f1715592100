#include "archiver/write/dir_manager.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "archiver/common.h"
#include "archiver/zip/entry_codec.h"
#include "archiver/zip/records.h"
#include "core/streams.h"
#include "core/text.h"

namespace {

constexpr int64_t kEndRecordWindow = 65600;
constexpr int64_t kStartSearchChunk = 65535;
// The central directory is written out, and read in, in pieces of about this size.
constexpr size_t kDirectoryWriteChunk = 64 * 1024;
// What a 32-bit process can hold of a directory beside everything else: the directory and its
// Snapshot take a few hundred bytes per entry. Claims beyond these are refused as damage, not
// met with an allocation that fails.
constexpr uint64_t kMaxDirectoryBytes = 256u << 20;
constexpr uint64_t kMaxDirectoryEntries = 1000000;

// The central directory read a piece at a time from the stream, so that its claimed size is
// never allocated at once.
class TDirectoryReader {
public:
    TDirectoryReader(TStream& stream, int64_t start, uint64_t size)
        : stream_(stream), next_(start), left_(static_cast<int64_t>(size)) {}

    // The next n bytes, valid until the next call; null when the directory holds fewer.
    const uint8_t* Take(size_t n) {
        if (buffer_.size() - at_ < n) {
            if (static_cast<int64_t>(n - (buffer_.size() - at_)) > left_) return nullptr;
            buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(at_));
            at_ = 0;
            const size_t kept = buffer_.size();
            const int64_t wanted = static_cast<int64_t>(std::max(n - kept, kDirectoryWriteChunk));
            const int64_t more = std::min(left_, wanted);
            buffer_.resize(kept + static_cast<size_t>(more));
            stream_.SetPosition(next_);
            stream_.ReadBuffer(buffer_.data() + kept, more);
            next_ += more;
            left_ -= more;
        }
        const uint8_t* bytes = buffer_.data() + at_;
        at_ += n;
        return bytes;
    }

private:
    TStream& stream_;
    int64_t next_;
    int64_t left_;
    std::vector<uint8_t> buffer_;
    size_t at_ = 0;
};

uint16_t CommentLengthOf(const uint8_t* endRecord) {
    return TByteReader(endRecord + TEndRecord::CommentLengthAt, 2, "end record").U16();
}

}  // namespace

TVXDirManager::TVXDirManager(TStream& archive, const TComponent* owner) : archive_(archive), owner_(owner) {
    LoadDirectory();
    // A batch always refreshes it; until then it is the directory as loaded.
    Snapshot.Assign(Items);
}

void TVXDirManager::Damaged(const std::string& what) const {
    throw EVXException(vxerr::DamagedArchive, what, owner_);
}

void TVXDirManager::ResetEndRecord() { EndRecord = TEndRecord::Empty(); }

bool TVXDirManager::FindEndRecord(std::array<uint8_t, TEndRecord::Size>& record, int64_t& position) {
    position = -1;
    ArchiveComment.clear();
    record.fill(0);
    const int64_t size = archive_.Size();
    const int64_t window = std::min(size, kEndRecordWindow);
    if (window < static_cast<int64_t>(TEndRecord::Size)) return false;
    std::vector<uint8_t> buffer(static_cast<size_t>(window));
    archive_.SetPosition(size - window);
    archive_.ReadBuffer(buffer.data(), window);

    // The record nearest to the end wins: entry data or a comment may contain the signature,
    // but what follows the real record is its comment and nothing else. Prefer a record whose
    // comment ends exactly at the end of the stream; else the last one whose comment fits.
    int64_t exact = -1, fitting = -1, last = -1;
    for (int64_t at = window - static_cast<int64_t>(TEndRecord::Size); at >= 0; --at) {
        if (!HasSignature(buffer.data() + at, TEndRecord::Signature)) continue;
        int64_t commentEnd = at + static_cast<int64_t>(TEndRecord::Size) + CommentLengthOf(buffer.data() + at);
        if (last < 0) last = at;
        if (commentEnd == window) {
            exact = at;
            break;
        }
        if (fitting < 0 && commentEnd <= window) fitting = at;
    }
    int64_t at = exact >= 0 ? exact : fitting >= 0 ? fitting : last;
    if (at < 0) return false;
    std::memcpy(record.data(), buffer.data() + at, TEndRecord::Size);
    position = size - window + at;
    uint16_t commentLength = CommentLengthOf(record.data());
    if (at + static_cast<int64_t>(TEndRecord::Size) + commentLength > window)
        Damaged("the archive comment runs past the end of the file");
    ArchiveComment.assign(reinterpret_cast<const char*>(buffer.data() + at + TEndRecord::Size), commentLength);
    return true;
}

void TVXDirManager::LoadDirectory() {
    StartOffset = 0;
    Items.SetCount(0);
    ResetEndRecord();
    centralDirPosition_ = 0;

    std::array<uint8_t, TEndRecord::Size> found{};
    int64_t position = -1;
    foundDirectory_ = false;
    if (!FindEndRecord(found, position)) {
        TEndRecord e = TEndRecord::Decode(EndRecord);
        e.EntriesOnDisk = e.TotalEntries = 0;
        EndRecord = e.Encode();
        return;
    }
    EndRecord = found;
    foundDirectory_ = true;
    TEndRecord end = TEndRecord::Decode(found);

    uint64_t entries = end.TotalEntries;
    uint64_t dirSize = end.CentralDirSize;
    int64_t dirEnd = position;
    ReadZip64End(position, entries, dirSize, dirEnd);

    if (dirSize > static_cast<uint64_t>(dirEnd))
        Damaged("the central directory is larger than the data in front of the end record");
    // Every central header takes at least 46 bytes: a claimed count cannot exceed what fits.
    if (entries > dirSize / TCentralHeader::Size)
        Damaged(Format("%llu entries do not fit into a central directory of %llu bytes",
                       static_cast<unsigned long long>(entries), static_cast<unsigned long long>(dirSize)));
    if (dirSize > kMaxDirectoryBytes || entries > kMaxDirectoryEntries)
        Damaged(Format("a central directory of %llu entries in %llu bytes is more than this program can hold",
                       static_cast<unsigned long long>(entries), static_cast<unsigned long long>(dirSize)));
    const int64_t dirStart = dirEnd - static_cast<int64_t>(dirSize);
    try {
        ReadCentralEntries(dirStart, dirSize, entries);
    } catch (const std::bad_alloc&) {
        Damaged("its central directory does not fit into memory");
    }
    centralDirPosition_ = dirStart;
    LocateArchiveStart(position);
    CheckEntryBounds();
}

void TVXDirManager::ReadZip64End(int64_t endRecordPosition, uint64_t& entries, uint64_t& dirSize,
                                 int64_t& dirEnd) {
    TEndRecord end = TEndRecord::Decode(EndRecord);
    const bool saturated = end.TotalEntries == kSaturated16 || end.EntriesOnDisk == kSaturated16 ||
                           end.CentralDirSize == kSaturated32 || end.CentralDirOffset == kSaturated32;
    const int64_t locatorAt = endRecordPosition - static_cast<int64_t>(TZip64Locator::Size);
    std::optional<TZip64Locator> locator;
    if (locatorAt >= 0) {
        uint8_t bytes[TZip64Locator::Size];
        archive_.SetPosition(locatorAt);
        archive_.ReadBuffer(bytes, sizeof bytes);
        locator = TZip64Locator::Decode(bytes);
    }
    if (!locator) {
        if (end.TotalEntries == kSaturated16 && end.CentralDirSize == kSaturated32)
            Damaged("the end record points to a ZIP64 end record that is missing");
        return;
    }
    // The locator's offset counts from the archive's own start, which prefixed data moves; the
    // record normally sits right in front of the locator.
    const int64_t size = archive_.Size();
    std::vector<int64_t> candidates;
    if (locator->EndRecordOffset <= static_cast<uint64_t>(size))
        candidates.push_back(static_cast<int64_t>(locator->EndRecordOffset));
    candidates.push_back(locatorAt - static_cast<int64_t>(TZip64EndRecord::Size));
    for (int64_t at : candidates) {
        if (at < 0 || at + static_cast<int64_t>(TZip64EndRecord::Size) > locatorAt) continue;
        uint8_t bytes[TZip64EndRecord::Size];
        archive_.SetPosition(at);
        archive_.ReadBuffer(bytes, sizeof bytes);
        if (!HasSignature(bytes, TZip64EndRecord::Signature)) continue;
        TZip64EndRecord z = TZip64EndRecord::Decode(bytes);
        entries = z.TotalEntries;
        dirSize = z.CentralDirSize;
        dirEnd = at;
        return;
    }
    if (saturated) Damaged("the ZIP64 end record is missing");
}

void TVXDirManager::ReadCentralEntries(int64_t dirStart, uint64_t dirSize, uint64_t entries) {
    TDirectoryReader reader(archive_, dirStart, dirSize);
    Items.SetCount(static_cast<int>(entries));
    for (int i = 0; i < Items.Count(); ++i) {
        TDirItem& item = *Items.ItemPtr(i);
        const uint8_t* fixed = reader.Take(TCentralHeader::Size);
        if (!fixed) Damaged(Format("central header %d is cut short", i));
        if (!HasSignature(fixed, TCentralHeader::Signature)) Damaged(Format("central header %d has no signature", i));
        const TCentralHeader h = TCentralHeader::Decode(fixed);
        TakeCentralHeader(h, item);
        const uint8_t* variable = reader.Take(size_t{h.NameLength} + h.ExtraLength + h.CommentLength);
        if (!variable)
            Damaged(Format("the name, extra field or comment of central header %d runs past the directory", i));
        const char* bytes = reinterpret_cast<const char*>(variable);
        item.LoadedName.assign(bytes, h.NameLength);
        item.StoredName = WithForwardSlashes(item.LoadedName);
        if (h.ExtraLength)
            item.ExtraBlock = std::make_shared<std::vector<uint8_t>>(variable + h.NameLength,
                                                                     variable + h.NameLength + h.ExtraLength);
        item.Comment.assign(bytes + h.NameLength + h.ExtraLength, h.CommentLength);
        TakeZip64Values(item);
    }
}

void TVXDirManager::CheckEntryBounds() {
    for (int i = 0; i < Items.Count(); ++i) {
        const TDirItem& item = *Items.ItemPtr(i);
        uint64_t offset = item.LocalHeaderOffset;
        uint64_t compressed = item.CompressedSize;
        uint64_t limit = static_cast<uint64_t>(centralDirPosition_);
        uint64_t start = offset + static_cast<uint64_t>(StartOffset);
        if (offset > limit || compressed > limit || start + TLocalHeader::Size + compressed > limit)
            Damaged(Format("entry %d lies outside the data in front of the central directory", i));
    }
}

void TVXDirManager::LocateArchiveStart(int64_t endRecordPosition) {
    if (Items.Count() == 0) return;
    const uint64_t recorded = Items.ItemPtr(0)->LocalHeaderOffset;
    const int64_t size = archive_.Size();
    if (recorded >= static_cast<uint64_t>(size)) return;
    std::vector<uint8_t> buffer(static_cast<size_t>(kStartSearchChunk));
    int64_t chunkStart = static_cast<int64_t>(recorded);
    bool found = false;
    while (!found && chunkStart < size) {
        archive_.SetPosition(chunkStart);
        const int64_t n = std::min(size - chunkStart, kStartSearchChunk);
        archive_.ReadBuffer(buffer.data(), n);
        for (int64_t at = 0; at + 4 <= n; ++at) {
            if (!HasSignature(buffer.data() + at, TLocalHeader::Signature)) continue;
            if (MatchesFirstEntry(chunkStart + at)) {
                StartOffset = chunkStart + at - static_cast<int64_t>(recorded);
                found = true;
                break;
            }
        }
        const int64_t next = chunkStart + n - 4;
        if (next <= chunkStart) break;
        chunkStart = next;
    }
    archive_.SetPosition(static_cast<int64_t>(recorded));
}

bool TVXDirManager::MatchesFirstEntry(int64_t position) {
    const int64_t saved = archive_.Position();
    bool matches = false;
    const int64_t size = archive_.Size();
    if (size - position >= static_cast<int64_t>(TLocalHeader::Size)) {
        uint8_t bytes[TLocalHeader::Size];
        archive_.SetPosition(position);
        archive_.ReadBuffer(bytes, sizeof bytes);
        TLocalHeader local = TLocalHeader::Decode(bytes);
        const TDirItem& first = *Items.ItemPtr(0);
        const TCentralHeader central = CentralHeaderOf(first);
        if (size - position - static_cast<int64_t>(TLocalHeader::Size) >= local.NameLength) {
            std::string name(local.NameLength, '\0');
            archive_.ReadBuffer(name.data(), local.NameLength);
            // Entries streamed with a data descriptor carry no CRC and sizes in the local header.
            const bool described = (local.Flags & kFlagDataDescriptor) != 0;
            // A size is compared with the entry's full value: the central header may keep it in
            // its ZIP64 field while the local header has it plain, or the other way round; and
            // with a ZIP64 field the central header may ask for a later version than the local
            // one (a directory written here asks for 4.5 whenever it writes such a field).
            auto sameSize = [](uint32_t inLocal, uint64_t full) { return inLocal == kSaturated32 || inLocal == full; };
            const bool sameVersion = local.VersionNeeded == central.VersionNeeded || NeedsZip64(first);
            matches = SameTextAscii(WithForwardSlashes(name), first.StoredName) && sameVersion &&
                      local.Flags == central.Flags &&
                      local.Method == central.Method && local.Time == central.Time && local.Date == central.Date &&
                      (described || (local.Crc32 == central.Crc32 &&
                                     sameSize(local.CompressedSize, first.CompressedSize) &&
                                     sameSize(local.UncompressedSize, first.UncompressedSize)));
        }
    }
    archive_.SetPosition(saved);
    return matches;
}

std::vector<uint8_t> TVXDirManager::EncodeDirectory(const TVXDirArray& items, int64_t start, int64_t startOffset,
                                                    std::array<uint8_t, TEndRecord::Size>& endRecord) const {
    TByteWriter out;
    for (int i = 0; i < items.Count(); ++i) {
        std::vector<uint8_t> entry = EncodeCentralEntry(*items.ItemPtr(i));
        out.Bytes(entry.data(), entry.size());
    }
    const int64_t dirEnd = start + static_cast<int64_t>(out.Data().size());

    // Recorded offsets count from the archive's own start, as the entries' offsets do.
    const uint64_t count = static_cast<uint64_t>(items.Count());
    const uint64_t dirSize = static_cast<uint64_t>(dirEnd - start);
    const uint64_t dirOffset = static_cast<uint64_t>(start - startOffset);
    const bool zip64 = count > 0xFFFF || dirSize >= kSaturated32 || dirOffset >= kSaturated32;
    const std::string comment = ArchiveComment.substr(0, 0xFFFF);

    TEndRecord end = TEndRecord::Decode(endRecord);
    end.EntriesOnDisk = end.TotalEntries = count > 0xFFFF ? kSaturated16 : static_cast<uint16_t>(count);
    end.CentralDirSize = dirSize >= kSaturated32 ? kSaturated32 : static_cast<uint32_t>(dirSize);
    end.CentralDirOffset = dirOffset >= kSaturated32 ? kSaturated32 : static_cast<uint32_t>(dirOffset);
    end.CommentLength = static_cast<uint16_t>(comment.size());
    endRecord = end.Encode();

    if (zip64) {
        TZip64EndRecord z;
        z.DiskNumber = end.DiskNumber;
        z.CentralDirDisk = end.CentralDirDisk;
        z.EntriesOnDisk = z.TotalEntries = count;
        z.CentralDirSize = dirSize;
        z.CentralDirOffset = dirOffset;
        TZip64Locator l;
        l.EndRecordDisk = end.DiskNumber;
        l.EndRecordOffset = static_cast<uint64_t>(dirEnd - startOffset);
        l.TotalDisks = uint32_t{end.DiskNumber} + 1;
        auto zb = z.Encode();
        auto lb = l.Encode();
        out.Bytes(zb.data(), zb.size());
        out.Bytes(lb.data(), lb.size());
    }
    out.Bytes(endRecord.data(), endRecord.size());
    out.Bytes(comment.data(), comment.size());
    return out.Data();
}

void TVXDirManager::WriteCentralDirectory() { WriteCentralDirectoryAt(archive_.Seek(0, TSeekOrigin::soEnd), {}); }

void TVXDirManager::WriteCentralDirectoryAt(int64_t start, const std::function<void(int64_t end)>& beforeWriting) {
    if (ArchiveComment.size() > 0xFFFF) ArchiveComment.resize(0xFFFF);
    const std::vector<uint8_t> bytes = EncodeDirectory(Items, start, StartOffset, EndRecord);
    if (beforeWriting) beforeWriting(start + static_cast<int64_t>(bytes.size()));
    archive_.SetPosition(start);
    for (size_t done = 0; done < bytes.size(); done += kDirectoryWriteChunk)
        archive_.WriteBuffer(bytes.data() + done,
                             static_cast<int64_t>(std::min(kDirectoryWriteChunk, bytes.size() - done)));
    centralDirPosition_ = start;
    foundDirectory_ = true;
}
