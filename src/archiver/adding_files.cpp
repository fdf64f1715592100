// The file selection (which found entries become pending items) and the per-entry step of the
// commit (local header, data, patched header).
#include <memory>

#include "archiver/base_archiver.h"
#include "archiver/deflate/compression.h"
#include "archiver/select/masks.h"
#include "archiver/select/source_files.h"
#include "archiver/zip/records.h"

namespace {

// The selection tests only the hidden, system, volume and folder bits against SearchAttr.
constexpr uint32_t kSelectiveAttributes = faHidden | faSysFile | faVolumeID | faDirectory;

bool MatchesAny(const std::string& path, const TStringList& masks, const std::string& baseDir) {
    for (const std::string& mask : masks.Items())
        if (MatchesMask(path, mask, baseDir)) return true;
    return false;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

// Fills item index as a new pending item for path. False when the path yields no stored name.
bool FillNewItemHeader(TVXBaseArchiver& archiver, int index, const std::string& path, bool newEntry) {
    std::string name = MakeStoredName(path, archiver.BaseDir(), archiver.Options()->StorePath());
    if (name.empty()) return false;
    uint32_t attributes = 0;
    uint32_t dosDateTime = 0;
    bool folder = false;
    const std::optional<TPathInfo> info = newEntry ? PathInfo(path) : std::nullopt;
    if (info) {
        attributes = info->Attributes;
        dosDateTime = info->DosDateTime;
        folder = (attributes & faDirectory) != 0;
        if (folder && name.back() != '/') name += '/';
    } else {
        dosDateTime = DosDateTimeNow();
    }

    TDirItem& item = *archiver.Directory()->Items.ItemPtr(index);
    item.StoredName = name;
    item.Pending = 1;
    item.EntryPassword = archiver.Password();
    item.SourcePath = path;
    item.EntryCompressionMode = archiver.CompressionMode();
    TCentralHeader h;
    // Only data is encrypted: a folder entry flagged as encrypted would need an encryption
    // header that it cannot have, and readers reject it.
    h.Flags = archiver.Password().empty() || folder ? 0 : kFlagEncrypted;
    // A folder has no data, and readers reject a deflated entry without a deflate stream:
    // folders are stored.
    h.Method = folder ? 0 : archiver.CompressionMethod();
    h.Time = static_cast<uint16_t>(dosDateTime & 0xFFFF);
    h.Date = static_cast<uint16_t>(dosDateTime >> 16);
    h.Crc32 = folder ? 0 : 0xFFFFFFFFu;
    h.NameLength = static_cast<uint16_t>(name.size());
    h.ExternalAttributes = attributes;
    SetCentral(item, h);
    return true;
}

class TFileSelection {
public:
    TFileSelection(TVXBaseArchiver& archiver, const TStringList& masks, uint16_t searchAttr,
                   TVXProcessOperation operation, const TStringList& exclusions)
        : archiver_(archiver), masks_(masks), searchAttr_(searchAttr), operation_(operation), exclusions_(exclusions) {}

    void ScanFolder(const std::string& folder) {
        ListFolder(folder, [&](const TFoundEntry& entry) {
            if ((entry.Attributes & kSelectiveAttributes & ~static_cast<uint32_t>(searchAttr_)) != 0) return;
            // Covers "." and ".." as well as every other name that begins with a dot.
            if (entry.Name.empty() || entry.Name[0] == '.') return;
            const std::string path = JoinPath(folder, entry.Name);
            // A folder's contents are appended before the folder's own item.
            if (archiver_.Options()->Recurse() && (entry.Attributes & faDirectory) != 0) ScanFolder(path);
            if (!MatchesAny(path, masks_, archiver_.BaseDir())) return;
            if (MatchesAny(path, exclusions_, archiver_.BaseDir())) return;
            AddFileItem(path);
        });
    }

private:
    void AddFileItem(const std::string& path) {
        if (!archiver_.FireConfirmProcessFile(path, operation_)) return;
        TVXDirArray& items = archiver_.Directory()->Items;
        const int index = items.Count();
        items.SetCount(index + 1);
        // An item without a name would have no entry data and no counterpart in a later
        // Snapshot, and would make the commit fail; it is dropped instead of kept empty.
        if (!FillNewItemHeader(archiver_, index, path, true)) {
            items.SetCount(index);
            return;
        }
        TDirItem& item = *items.ItemPtr(index);
        item.Operation = operation_;
        if (MatchesAny(path, *archiver_.NoCompressionMasks(), archiver_.BaseDir())) item.EntryCompressionMode = 0;
    }

    TVXBaseArchiver& archiver_;
    const TStringList& masks_;
    uint16_t searchAttr_;
    TVXProcessOperation operation_;
    const TStringList& exclusions_;
};

// The source of one entry for the time it is written: a file opened here, a stream the item
// supplies, or nothing (a folder).
class TEntrySource {
public:
    TEntrySource(TDirItem& item, uint16_t shareFlags) : item_(item) {
        if (item.SourceStream) {
            stream_ = item.SourceStream;
            savedPosition_ = stream_->Position();
            stream_->SetPosition(item.SourcePosition);
        } else if ((CentralOf(item).ExternalAttributes & faDirectory) == 0) {
            file_ = std::make_unique<TFileStream>(item.SourcePath, static_cast<uint16_t>(fmOpenRead | shareFlags));
            stream_ = file_.get();
        }
    }
    ~TEntrySource() {
        if (!item_.SourceStream) return;
        if (item_.OwnsSourceStream) {
            delete item_.SourceStream;
            item_.SourceStream = nullptr;
        } else {
            item_.SourceStream->SetPosition(savedPosition_);
        }
    }
    TEntrySource(const TEntrySource&) = delete;
    TEntrySource& operator=(const TEntrySource&) = delete;

    TStream* Stream() const { return stream_; }

private:
    TDirItem& item_;
    std::unique_ptr<TFileStream> file_;
    TStream* stream_ = nullptr;
    int64_t savedPosition_ = 0;
};

// Sizes that do not fit (or, after deflate's expansion, might not fit) 32 bits go into a ZIP64
// field; the local header then carries both sizes there and 0xFFFFFFFF in its own fields.
bool SizesNeedZip64(int64_t sourceSize) { return static_cast<uint64_t>(MaxEntryDataSize(sourceSize)) >= kSaturated32; }

// Keeps a ZIP64 entry's central header in step with its local header (both sizes in the ZIP64
// field, version 4.5), so that the two records agree field by field.
void SaturateItemSizes(TDirItem& item) {
    const uint64_t compressed = ItemCompressedSize(item);
    const uint64_t uncompressed = ItemUncompressedSize(item);
    TCentralHeader h = CentralOf(item);
    h.CompressedSize = kSaturated32;
    h.UncompressedSize = kSaturated32;
    if (h.VersionNeeded < kVersionZip64) h.VersionNeeded = kVersionZip64;
    SetCentral(item, h);
    item.CompressedSize64 = compressed;
    item.UncompressedSize64 = uncompressed;
}

// Writes the local header, name and data of item and patches the header; false when a stop was
// requested while the data flowed.
bool WriteEntryRecords(TVXBaseArchiver& archiver, TDirItem& item) {
    const TVXProcessOperation operation = item.Operation;
    TEntrySource source(item, archiver.ShareModeFlags());
    TStream& archive = *archiver.ArchiveStream();
    const int64_t headerOffset = archive.Position();
    SetItemLocalHeaderOffset(item, static_cast<uint64_t>(headerOffset));

    const TCentralHeader central = CentralOf(item);
    const int64_t sourceSize = source.Stream() ? source.Stream()->Size() : 0;
    const bool zip64 = SizesNeedZip64(sourceSize);
    TLocalHeader local;
    local.VersionNeeded = zip64 ? kVersionZip64 : kVersionDefault;
    local.Flags = item.EntryPassword.empty() || !source.Stream() ? 0 : kFlagEncrypted;
    local.Method = central.Method;
    local.Time = central.Time;
    local.Date = central.Date;
    local.Crc32 = source.Stream() ? 0xFFFFFFFFu : 0;
    local.CompressedSize = zip64 ? kSaturated32 : 0;
    local.UncompressedSize = zip64 ? kSaturated32 : static_cast<uint32_t>(sourceSize);
    local.NameLength = static_cast<uint16_t>(item.StoredName.size());
    TZip64Extra extra;
    if (zip64) {
        extra.UncompressedSize = static_cast<uint64_t>(sourceSize);
        extra.CompressedSize = 0;
    }
    std::vector<uint8_t> extraBytes = extra.Encode();
    local.ExtraLength = static_cast<uint16_t>(extraBytes.size());
    archive.WriteBuffer(local.Encode().data(), TLocalHeader::Size);
    archive.WriteBuffer(item.StoredName.data(), static_cast<int64_t>(item.StoredName.size()));
    archive.WriteBuffer(extraBytes.data(), static_cast<int64_t>(extraBytes.size()));

    if (source.Stream()) {
        TEntryDataContext context;
        context.DataStepOn = archiver.DataStepOn();
        context.BeforePass = [&](int64_t processed, int64_t total) {
            TVXBaseArchiver::TProgressState& state = archiver.Progress();
            if (!state.ProgressOn) return false;
            state.CurrentBytesDone = processed;
            state.CurrentBytesTotal = total;
            const long double fraction = static_cast<long double>(processed) / total;
            archiver.FireFileProgress(item.StoredName, static_cast<double>(fraction * 100), operation, ppProcess);
            if (state.Cancel) return true;
            const long double itemsToDo = state.ItemsToDo > 0 ? state.ItemsToDo : 1;
            archiver.FireOverallProgress(static_cast<double>((fraction + state.ItemsDone) / itemsToDo * 100), operation,
                                         ppProcess);
            return state.Cancel;
        };
        if (WriteEntryData(*source.Stream(), archive, item, context)) {
            if (zip64) SaturateItemSizes(item);
            const TCentralHeader done = CentralOf(item);
            local.Crc32 = done.Crc32;
            if (zip64) {
                extra.CompressedSize = ItemCompressedSize(item);
                extraBytes = extra.Encode();
            } else {
                local.CompressedSize = done.CompressedSize;
            }
            archive.SetPosition(headerOffset);
            archive.WriteBuffer(local.Encode().data(), TLocalHeader::Size);
            if (zip64) {
                archive.Seek(static_cast<int64_t>(item.StoredName.size()), TSeekOrigin::soCurrent);
                archive.WriteBuffer(extraBytes.data(), static_cast<int64_t>(extraBytes.size()));
            }
        } else if (archiver.Progress().Cancel) {
            // A stop while data flowed must stop the commit, which then rolls back; the ppEnd
            // report is skipped so that no handler (or the lack of one) clears the request.
            archive.Seek(0, TSeekOrigin::soEnd);
            return false;
        }
    }
    archive.Seek(0, TSeekOrigin::soEnd);
    return true;
}

}  // namespace

void TVXBaseArchiver::AddFilesInternal(const TStringList& fileMasks, uint16_t searchAttr, TVXProcessOperation operation,
                                       const TStringList& exclusionMasks) {
    TFileSelection selection(*this, fileMasks, searchAttr, operation, exclusionMasks);
    selection.ScanFolder(ResolveFolder(BaseDir()));
}

void TVXBaseArchiver::WriteNewEntry(int index) {
    UpdateCompressionMethod();
    TDirItem& item = *Directory()->Items.ItemPtr(index);
    const TVXProcessOperation operation = item.Operation;
    const std::string reportName = operation == poAdd || operation == poMove ? item.SourcePath : item.StoredName;
    FireFileProgress(reportName, 0, operation, ppStart);
    if (Progress().Cancel) return;

    try {
        if (!WriteEntryRecords(*this, item)) return;
        FireFileProgress(reportName, 100, operation, ppEnd);
    } catch (const EVXException& e) {
        const std::string failedName = operation == poUpdate ? item.StoredName : item.SourcePath;
        if (!FireProcessFileFailure(failedName, operation, e)) throw;
    }
}
