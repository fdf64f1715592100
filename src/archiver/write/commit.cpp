// The commit of an update batch: cut the archive at the first changed entry, keep the old tail
// in a temporary file, write new entries in place and copy unchanged ones back, write the
// directory, and undo everything when that fails or is cancelled.
#include <algorithm>

#include "archiver/base_archiver.h"
#include "archiver/write/archive_files.h"
#include "archiver/zip/records.h"

namespace {

constexpr uint32_t kDataDescriptorSignature = 0x08074B50;

bool WritesNewData(const TDirItem& item) {
    return item.Pending && item.Operation != poRename && item.Operation != poChangeAttr;
}

}  // namespace

void TVXBaseArchiver::DiscardEntry(int index) {
    auto& d = commit_.discarded;
    auto at = std::lower_bound(d.begin(), d.end(), index);
    if (at == d.end() || *at != index) d.insert(at, index);
}

int TVXBaseArchiver::FindFirstChange() const {
    const TVXDirArray& snapshot = dirManager_->Snapshot;
    const TVXDirArray& items = dirManager_->Items;
    const int n = std::min(snapshot.Count(), items.Count());
    for (int i = 0; i < n; ++i) {
        const TDirItem& current = *items.ItemPtr(i);
        if (current.Pending || current.StoredName != snapshot.ItemPtr(i)->StoredName) return i;
    }
    return n;
}

TVXProcessOperation TVXBaseArchiver::ReportedOperation() const {
    if (commit_.firstPending < 0) return poDelete;
    return dirManager_->Items.ItemPtr(commit_.firstPending)->Operation;
}

void TVXBaseArchiver::CommitUpdate() {
    if (updateCount_ <= 0) return;
    updateCount_ = 0;
    // Closing inside a batch ended it without a commit.
    if (!dirManager_) return;
    TVXDirManager& dir = *dirManager_;
    TStream& archive = *archiveStream_;

    commit_ = TCommitRun{};
    progress_.ItemsDone = 0;
    progress_.ItemsToDo = 0;
    progress_.Cancel = false;
    progress_.ProgressOn = true;
    for (int i = 0; i < dir.Items.Count(); ++i) {
        if (!dir.Items.ItemPtr(i)->Pending) continue;
        ++progress_.ItemsToDo;
        if (commit_.firstPending < 0) commit_.firstPending = i;
    }
    commit_.firstChange = FindFirstChange();
    commit_.savedStartOffset = dir.StartOffset;
    const TVXProcessOperation reported = ReportedOperation();

    FireOverallProgress(0, reported, ppStart);
    if (progress_.Cancel) {
        // Nothing was written: the batch's items must not outlive it.
        dir.Items.Assign(dir.Snapshot);
        return;
    }

    try {
        if (dir.Snapshot.Count() > commit_.firstChange) {
            CopyTailToTemp(commit_.firstChange);
            const TDirItem& firstChanged = *dir.Snapshot.ItemPtr(commit_.firstChange);
            commit_.cutPosition = static_cast<int64_t>(ItemLocalHeaderOffset(firstChanged)) + dir.StartOffset;
        } else {
            // Where the old directory was found (0 without one): the end record's recorded
            // offset is no use for ZIP64 archives and the two agree for all others.
            commit_.cutPosition = dir.CentralDirPosition();
        }
        archive.SetPosition(commit_.cutPosition);
        archive.SetSize(commit_.cutPosition);
        commit_.cut = true;

        for (int i = commit_.firstChange; i < dir.Items.Count(); ++i) {
            if (WritesNewData(*dir.Items.ItemPtr(i))) {
                WriteNewEntry(i);
                ++progress_.ItemsDone;
            } else {
                CopyEntry(i);
            }
            if (progress_.Cancel) break;
        }
        if (!progress_.Cancel) {
            for (auto at = commit_.discarded.rbegin(); at != commit_.discarded.rend(); ++at) dir.Items.Delete(*at);
            // Entries written or copied now carry plain stream positions; the ones in front of
            // the cut get the prefix added, so that every recorded offset counts the same way.
            if (dir.StartOffset != 0) {
                for (int i = 0; i < commit_.firstChange; ++i) {
                    TDirItem& item = *dir.Items.ItemPtr(i);
                    const uint64_t offset = ItemLocalHeaderOffset(item) + static_cast<uint64_t>(dir.StartOffset);
                    SetItemLocalHeaderOffset(item, offset);
                }
                dir.StartOffset = 0;
            }
            dir.WriteCentralDirectory();
            DeleteTemp();
        }
    } catch (...) {
        try {
            Rollback();
        } catch (...) {
            // The first failure is the one to report.
        }
        throw;
    }

    if (progress_.Cancel) {
        Rollback();
        return;
    }
    FinishMoves();
    // The archive is complete here; a handler of the last report can no longer undo it.
    FireOverallProgress(100, reported, ppEnd);
}

void TVXBaseArchiver::FinishMoves() {
    TVXDirArray& items = dirManager_->Items;
    for (int i = 0; i < items.Count(); ++i) {
        const TDirItem item = items.GetItem(i);
        if (!item.Pending || item.Operation != poMove) continue;
        if (CentralOf(item).ExternalAttributes & 0x10) continue;
        if (DeleteArchiveFile(item.SourcePath)) continue;
        EVXException failure(vxerr::CannotDeleteMovedFile, item.SourcePath, this);
        if (!FireProcessFileFailure(item.SourcePath, item.Operation, failure)) throw failure;
    }
}

void TVXBaseArchiver::CopyTailToTemp(int index) {
    TVXDirManager& dir = *dirManager_;
    TStream& archive = *archiveStream_;
    commit_.tempName = MakeTempFileName();
    commit_.temp = std::make_unique<TFileStream>(commit_.tempName, fmCreate);
    const int64_t start = static_cast<int64_t>(ItemLocalHeaderOffset(*dir.Snapshot.ItemPtr(index))) + dir.StartOffset;
    const int64_t length = archive.Size() - start;
    archive.SetPosition(start);
    if (length > 0) commit_.temp->CopyFrom(archive, length);
}

void TVXBaseArchiver::CopyEntry(int index) {
    TVXDirManager& dir = *dirManager_;
    TStream& archive = *archiveStream_;
    TDirItem& item = *dir.Items.ItemPtr(index);
    // The item at the same place comes first: an archive may hold one name twice, and the first
    // of them is not necessarily this entry's data.
    const TDirItem* counterpart = nullptr;
    if (index < dir.Snapshot.Count() && dir.Snapshot.ItemPtr(index)->StoredName == item.StoredName)
        counterpart = dir.Snapshot.ItemPtr(index);
    for (int j = 0; j < dir.Snapshot.Count() && !counterpart; ++j)
        if (dir.Snapshot.ItemPtr(j)->StoredName == item.StoredName) counterpart = dir.Snapshot.ItemPtr(j);
    if (!counterpart) throw EVXException(vxerr::NoSnapshotCounterpart, nullptr);
    const int64_t source =
        static_cast<int64_t>(ItemLocalHeaderOffset(*counterpart)) + dir.StartOffset - commit_.cutPosition;
    // The entry's bytes exist only in the saved tail; one in front of the cut was not saved.
    if (!commit_.temp || source < 0) throw EVXException(vxerr::NoSnapshotCounterpart, nullptr);

    TFileStream& temp = *commit_.temp;
    uint8_t bytes[TLocalHeader::Size];
    temp.SetPosition(source);
    temp.ReadBuffer(bytes, sizeof bytes);
    // The local header's own name and extra lengths count: other writers' local extra fields
    // often differ in length from the central ones.
    TLocalHeader local = TLocalHeader::Decode(bytes);
    const TCentralHeader central = CentralOf(*counterpart);
    int64_t length = static_cast<int64_t>(TLocalHeader::Size) + local.NameLength + local.ExtraLength +
                     static_cast<int64_t>(ItemCompressedSize(*counterpart));
    if (central.Flags & kFlagDataDescriptor) {
        const bool wide = ItemNeedsZip64(*counterpart);
        uint8_t signature[4] = {};
        temp.SetPosition(source + length);
        temp.ReadBuffer(signature, 4);
        const bool signed_ = TByteReader(signature, 4, "data descriptor").U32() == kDataDescriptorSignature;
        length += (signed_ ? 4 : 0) + 4 + (wide ? 16 : 8);
    }
    SetItemLocalHeaderOffset(item, static_cast<uint64_t>(archive.Position()));
    temp.SetPosition(source);
    archive.CopyFrom(temp, length);
}

void TVXBaseArchiver::DeleteTemp() {
    commit_.temp.reset();
    DeleteArchiveFile(commit_.tempName);
    commit_.tempName.clear();
}

void TVXBaseArchiver::RestoreFromTemp() {
    if (!commit_.temp) throw EVXException(vxerr::NoTemporaryCopy, nullptr);
    TStream& archive = *archiveStream_;
    archive.SetPosition(commit_.cutPosition);
    archive.SetSize(commit_.cutPosition);
    const int64_t length = commit_.temp->Size();
    commit_.temp->SetPosition(0);
    if (length > 0) archive.CopyFrom(*commit_.temp, length);
    DeleteTemp();
}

void TVXBaseArchiver::Rollback() {
    TVXDirManager& dir = *dirManager_;
    dir.Items.Assign(dir.Snapshot);
    dir.StartOffset = commit_.savedStartOffset;
    if (!commit_.cut) {
        // Failed before the archive was touched: only a partial tail copy may be left.
        DeleteTemp();
        return;
    }
    if (commit_.temp) {
        RestoreFromTemp();
    } else {
        // Everything after the cut is new; the old directory goes back where it was.
        TStream& archive = *archiveStream_;
        archive.SetPosition(commit_.cutPosition);
        archive.SetSize(commit_.cutPosition);
        dir.WriteCentralDirectory();
    }
    commit_.cut = false;
}
