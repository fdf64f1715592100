#include "archiver/write/commit.h"

#include "archiver/write/archive_files.h"

void TVXCommit::DeleteTemp() {
    temp_.reset();
    DeleteArchiveFile(tempName_);
    tempName_.clear();
}

void TVXCommit::RestoreFromTemp() {
    if (!temp_) throw EVXException(vxerr::NoTemporaryCopy, nullptr);
    archive_.SetPosition(cutPosition_);
    archive_.SetSize(cutPosition_);
    const int64_t length = temp_->Size();
    temp_->SetPosition(0);
    if (length > 0) archive_.CopyFrom(*temp_, length);
    DeleteTemp();
}

void TVXCommit::Rollback() {
    dir_.Items.Assign(dir_.Snapshot);
    dir_.StartOffset = savedStartOffset_;
    if (!cut_) {
        // Failed before the archive was touched: only a partial tail copy may be left.
        DeleteTemp();
        return;
    }
    if (temp_) {
        RestoreFromTemp();
    } else {
        // Everything after the cut is new; the old directory goes back where it was.
            archive_.SetPosition(cutPosition_);
        archive_.SetSize(cutPosition_);
        dir_.WriteCentralDirectory();
    }
    cut_ = false;
}
