#include "archiver/write/entry_writer.h"

#include <memory>

#include "archiver/deflate/entry_data.h"
#include "archiver/select/source_files.h"
#include "archiver/zip/records.h"
#include "toolkit/streams.h"

namespace {

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
bool WriteEntryRecords(TWriteHost& host, TStream& archive, TDirItem& item) {
    const TVXProcessOperation operation = item.Operation;
    TEntrySource source(item, host.ShareModeFlags());
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
        context.DataStepOn = host.DataStepOn();
        context.BeforePass = [&](int64_t processed, int64_t total) {
            TProgressState& state = host.Progress();
            if (!state.ProgressOn) return false;
            state.CurrentBytesDone = processed;
            state.CurrentBytesTotal = total;
            const long double fraction = static_cast<long double>(processed) / total;
            host.FireFileProgress(item.StoredName, static_cast<double>(fraction * 100), operation, ppProcess);
            if (state.Cancel) return true;
            const long double itemsToDo = state.ItemsToDo > 0 ? state.ItemsToDo : 1;
            host.FireOverallProgress(static_cast<double>((fraction + state.ItemsDone) / itemsToDo * 100), operation,
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
        } else if (host.Progress().Cancel) {
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

void WriteNewEntry(TWriteHost& host, TStream& archive, TDirItem& item) {
    host.UpdateCompressionMethod();
    const TVXProcessOperation operation = item.Operation;
    const std::string reportName = operation == poAdd || operation == poMove ? item.SourcePath : item.StoredName;
    host.FireFileProgress(reportName, 0, operation, ppStart);
    if (host.Progress().Cancel) return;

    try {
        if (!WriteEntryRecords(host, archive, item)) return;
        host.FireFileProgress(reportName, 100, operation, ppEnd);
    } catch (const EVXException& e) {
        const std::string failedName = operation == poUpdate ? item.StoredName : item.SourcePath;
        if (!host.FireProcessFileFailure(failedName, operation, e)) throw;
    }
}
