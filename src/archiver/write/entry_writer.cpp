#include "archiver/write/entry_writer.h"

#include <memory>
#include <vector>

#include "archiver/common.h"
#include "archiver/deflate/entry_data.h"
#include "archiver/zip/entry_codec.h"
#include "core/streams.h"

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
        } else if ((item.ExternalAttributes & faDirectory) == 0) {
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

void WriteRecord(TStream& archive, const std::vector<uint8_t>& bytes) {
    archive.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

// Writes the local header, name and data of item and patches the header; false when a stop was
// requested while the data flowed.
bool WriteEntryRecords(TWriteHost& host, TStream& archive, TDirItem& item, const TEntryRoom& room) {
    const TVXProcessOperation operation = item.Operation;
    const TWriteSettings settings = host.WriteSettings();
    TEntrySource source(item, settings.ShareModeFlags);
    const int64_t headerOffset = archive.Position();
    item.MoveTo(static_cast<uint64_t>(headerOffset));

    const int64_t sourceSize = source.Stream() ? source.Stream()->Size() : 0;
    TLocalValues local;
    local.Zip64 = SizesNeedZip64(sourceSize);
    local.Encrypted = !item.EntryPassword.empty() && source.Stream();
    local.Crc32 = source.Stream() ? 0xFFFFFFFFu : 0;
    local.UncompressedSize = static_cast<uint64_t>(sourceSize);
    const std::vector<uint8_t> header = EncodeLocalEntry(item, local);
    if (room) {
        const int64_t dataBound = source.Stream() ? MaxEntryDataSize(sourceSize) : 0;
        room(headerOffset + static_cast<int64_t>(header.size()) + dataBound);
    }
    WriteRecord(archive, header);

    if (source.Stream()) {
        TEntryDataContext context;
        context.DataStepOn = settings.DataStepOn;
        context.Workers = settings.Workers;
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
            const int64_t end = archive.Position();
            // The central header carries the sizes where the local header does, so that the two
            // records agree field by field.
            item.InZip64.CompressedSize = item.InZip64.UncompressedSize = local.Zip64;
            if (local.Zip64 && item.VersionNeeded < kVersionZip64) item.VersionNeeded = kVersionZip64;
            local.Crc32 = item.Crc32;
            local.CompressedSize = item.CompressedSize;
            archive.SetPosition(headerOffset);
            WriteRecord(archive, EncodeLocalEntry(item, local));
            archive.SetPosition(end);
        } else if (host.Progress().Cancel) {
            // A stop while data flowed must stop the commit, which then rolls back; the ppEnd
            // report is skipped so that no handler (or the lack of one) clears the request.
            return false;
        }
    }
    return true;
}

}  // namespace

bool WriteNewEntry(TWriteHost& host, TStream& archive, TDirItem& item, const TEntryRoom& room) {
    host.UpdateCompressionMethod();
    const TVXProcessOperation operation = item.Operation;
    const std::string reportName = operation == poAdd || operation == poMove ? item.SourcePath : item.StoredName;
    host.FireFileProgress(reportName, 0, operation, ppStart);
    if (host.Progress().Cancel) return true;

    try {
        if (!WriteEntryRecords(host, archive, item, room)) return true;
        host.FireFileProgress(reportName, 100, operation, ppEnd);
        return true;
    } catch (const EVXException& e) {
        const std::string failedName = operation == poUpdate ? item.StoredName : item.SourcePath;
        if (!host.FireProcessFileFailure(failedName, operation, e)) throw;
        return false;
    }
}
