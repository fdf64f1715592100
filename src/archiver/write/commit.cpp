#include "archiver/write/commit.h"

#include <algorithm>

#include "archiver/common.h"
#include "archiver/verify/verify_run.h"
#include "archiver/verify/written_archive.h"
#include "archiver/write/archive_files.h"
#include "archiver/write/entry_writer.h"
#include "archiver/zip/entry_codec.h"
#include "archiver/zip/records.h"

namespace {

bool WritesNewData(const TDirItem& item) {
    return item.Pending && item.Operation != poRename && item.Operation != poChangeAttr;
}

}  // namespace

TVXCommit::TVXCommit(TVXDirManager& dir, TStream& archive, TWriteHost& host, const TComponent* owner)
    : dir_(dir), archive_(archive), host_(host), owner_(owner) {}

void TVXCommit::DiscardEntry(int index, int64_t entryStart) {
    archive_.SetPosition(entryStart);
    // Appending, the bytes beyond are overwritten by what follows and cut off at the end; the
    // copy of the old directory behind them must stay.
    if (!appending_) archive_.SetSize(entryStart);
    auto& d = discarded_;
    auto at = std::lower_bound(d.begin(), d.end(), index);
    if (at == d.end() || *at != index) d.insert(at, index);
}

int TVXCommit::FindFirstChange() const {
    const TVXDirArray& snapshot = dir_.Snapshot;
    const TVXDirArray& items = dir_.Items;
    const int n = std::min(snapshot.Count(), items.Count());
    for (int i = 0; i < n; ++i) {
        const TDirItem& current = *items.ItemPtr(i);
        if (current.Pending || current.StoredName != snapshot.ItemPtr(i)->StoredName) return i;
    }
    return n;
}

TVXProcessOperation TVXCommit::ReportedOperation() const {
    if (firstPending_ < 0) return poDelete;
    return dir_.Items.ItemPtr(firstPending_)->Operation;
}

void TVXCommit::Run() {
    TProgressState& progress = host_.Progress();
    progress.ItemsDone = 0;
    progress.ItemsToDo = 0;
    progress.Cancel = false;
    progress.ProgressOn = true;
    for (int i = 0; i < dir_.Items.Count(); ++i) {
        if (!dir_.Items.ItemPtr(i)->Pending) continue;
        ++progress.ItemsToDo;
        if (firstPending_ < 0) firstPending_ = i;
    }
    firstChange_ = FindFirstChange();
    savedStartOffset_ = dir_.StartOffset;
    const TVXProcessOperation reported = ReportedOperation();

    host_.FireOverallProgress(0, reported, ppStart);
    if (progress.Cancel) {
        // Nothing was written: the batch's items must not outlive it.
        dir_.Items.Assign(dir_.Snapshot);
        return;
    }

    try {
        // Bytes without a directory are no archive, or one cut short: an archive written over
        // them would lose them.
        if (!dir_.FoundDirectory() && archive_.Size() > 0)
            throw EVXException(vxerr::DamagedArchive, "it holds data but no end of central directory record", owner_);
        if (dir_.Snapshot.Count() > firstChange_) {
            CopyTailToTemp(firstChange_);
            const TDirItem& firstChanged = *dir_.Snapshot.ItemPtr(firstChange_);
            cutPosition_ = static_cast<int64_t>(firstChanged.LocalHeaderOffset) + dir_.StartOffset;
            archive_.SetPosition(cutPosition_);
            archive_.SetSize(cutPosition_);
        } else {
            // Where the old directory was found (0 without one): the end record's recorded
            // offset is no use for ZIP64 archives and the two agree for all others.
            cutPosition_ = dir_.CentralDirPosition();
            KeepOldDirectory();
            archive_.SetPosition(cutPosition_);
            if (!appending_) archive_.SetSize(cutPosition_);
        }
        cut_ = true;

        WriteEntries();
        if (!progress.Cancel) {
            for (auto at = discarded_.rbegin(); at != discarded_.rend(); ++at) dir_.Items.Delete(*at);
            // Entries written or copied now carry plain stream positions; the ones in front of
            // the cut get the prefix added, so that every recorded offset counts the same way.
            if (dir_.StartOffset != 0) {
                for (int i = 0; i < firstChange_; ++i) {
                    TDirItem& item = *dir_.Items.ItemPtr(i);
                    item.MoveTo(item.LocalHeaderOffset + static_cast<uint64_t>(dir_.StartOffset));
                }
                dir_.StartOffset = 0;
            }
            if (appending_) {
                dir_.WriteCentralDirectoryAt(archive_.Position(), [this](int64_t end) { MakeRoom(end); });
                // Entries and directory are on the disk before the cut makes them the archive.
                archive_.Flush();
            } else {
                dir_.WriteCentralDirectory();
            }
            archive_.SetSize(archive_.Position());
            // Read back while the old tail is still kept: a difference or a stop rolls back.
            if (ReadBack()) DeleteTemp();
        }
    } catch (...) {
        RollbackAndRethrow();
    }

    if (progress.Cancel) {
        try {
            Rollback();
        } catch (const std::exception& e) {
            RollbackFailed("the commit was cancelled", e.what());
        }
        return;
    }
    FinishMoves();
    // The archive is complete here; a handler of the last report can no longer undo it.
    host_.FireOverallProgress(100, reported, ppEnd);
}

bool TVXCommit::ReadBack() {
    const TWriteSettings settings = host_.WriteSettings();
    if (!settings.Verify) return true;
    if (settings.BeforeVerify) settings.BeforeVerify(dir_.Archive());
    TProgressState& progress = host_.Progress();
    host_.FireOverallProgress(0, poTest, ppStart);
    if (progress.Cancel) return false;
    TVerifyContext context;
    context.Owner = owner_;
    // As many threads read back as deflate.
    context.Workers = settings.Workers;
    context.BeforePiece = [this, &progress](int64_t done, int64_t total) {
        host_.FireOverallProgress(total > 0 ? static_cast<double>(done) / static_cast<double>(total) * 100 : 0,
                                  poTest, ppProcess);
        return progress.Cancel;
    };
    if (!VerifyWrittenArchive(dir_, firstChange_, context)) return false;
    host_.FireOverallProgress(100, poTest, ppEnd);
    return !progress.Cancel;
}

void TVXCommit::WriteEntries() {
    TProgressState& progress = host_.Progress();
    const TEntryRoom room = appending_ ? TEntryRoom([this](int64_t end) { MakeRoom(end); }) : TEntryRoom();
    for (int i = firstChange_; i < dir_.Items.Count(); ++i) {
        if (WritesNewData(*dir_.Items.ItemPtr(i))) {
            const int64_t entryStart = archive_.Position();
            if (!WriteNewEntry(host_, archive_, *dir_.Items.ItemPtr(i), room)) DiscardEntry(i, entryStart);
            ++progress.ItemsDone;
        } else {
            CopyEntry(i);
        }
        if (progress.Cancel) break;
    }
}

void TVXCommit::FinishMoves() {
    TVXDirArray& items = dir_.Items;
    for (int i = 0; i < items.Count(); ++i) {
        const TDirItem item = items.GetItem(i);
        if (!item.Pending || item.Operation != poMove) continue;
        if (item.ExternalAttributes & faDirectory) continue;
        if (DeleteArchiveFile(item.SourcePath)) continue;
        EVXException failure(vxerr::CannotDeleteMovedFile, item.SourcePath, owner_);
        if (!host_.FireProcessFileFailure(item.SourcePath, item.Operation, failure)) throw failure;
    }
}

void TVXCommit::CopyTailToTemp(int index) {
    tempName_ = host_.MakeTempFileName();
    temp_ = std::make_unique<TFileStream>(tempName_, fmCreate);
    const int64_t start = static_cast<int64_t>(dir_.Snapshot.ItemPtr(index)->LocalHeaderOffset) + dir_.StartOffset;
    const int64_t length = archive_.Size() - start;
    archive_.SetPosition(start);
    if (length > 0) temp_->CopyFrom(archive_, length);
}

void TVXCommit::CopyEntry(int index) {
    TDirItem& item = *dir_.Items.ItemPtr(index);
    // The item at the same place comes first: an archive may hold one name twice, and the first
    // of them is not necessarily this entry's data.
    const TDirItem* counterpart = nullptr;
    if (index < dir_.Snapshot.Count() && dir_.Snapshot.ItemPtr(index)->StoredName == item.StoredName)
        counterpart = dir_.Snapshot.ItemPtr(index);
    for (int j = 0; j < dir_.Snapshot.Count() && !counterpart; ++j)
        if (dir_.Snapshot.ItemPtr(j)->StoredName == item.StoredName) counterpart = dir_.Snapshot.ItemPtr(j);
    if (!counterpart) throw EVXException(vxerr::NoSnapshotCounterpart, nullptr);
    const int64_t source = static_cast<int64_t>(counterpart->LocalHeaderOffset) + dir_.StartOffset - cutPosition_;
    // The entry's bytes exist only in the saved tail; one in front of the cut was not saved.
    if (!temp_ || source < 0) throw EVXException(vxerr::NoSnapshotCounterpart, nullptr);

    TFileStream& temp = *temp_;
    uint8_t bytes[TLocalHeader::Size];
    temp.SetPosition(source);
    temp.ReadBuffer(bytes, sizeof bytes);
    // The local header's own name and extra lengths count: other writers' local extra fields
    // often differ in length from the central ones.
    const TLocalHeader local = TLocalHeader::Decode(bytes);
    int64_t length = static_cast<int64_t>(TLocalHeader::Size) + local.NameLength + local.ExtraLength +
                     static_cast<int64_t>(counterpart->CompressedSize);
    if (counterpart->Flags & kFlagDataDescriptor) {
        uint8_t signature[4] = {};
        temp.SetPosition(source + length);
        temp.ReadBuffer(signature, 4);
        length += static_cast<int64_t>(
            TDataDescriptor::Length(HasSignature(signature, TDataDescriptor::Signature), NeedsZip64(*counterpart)));
    }
    item.MoveTo(static_cast<uint64_t>(archive_.Position()));
    temp.SetPosition(source);
    archive_.CopyFrom(temp, length);
}

