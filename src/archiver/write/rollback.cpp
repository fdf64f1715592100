#include "archiver/write/commit.h"

#include <exception>

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
    if (appending_) {
        RestoreOldDirectory();
    } else if (temp_) {
        RestoreFromTemp();
    } else {
        // Everything after the cut is new; the old directory goes back where it was.
        archive_.SetPosition(cutPosition_);
        archive_.SetSize(cutPosition_);
        dir_.WriteCentralDirectory();
    }
    cut_ = false;
}

void TVXCommit::RollbackAndRethrow() {
    std::string rollbackFailure;
    try {
        Rollback();
    } catch (const std::exception& e) {
        rollbackFailure = e.what();
    } catch (...) {
        rollbackFailure = "unknown failure";
    }
    if (rollbackFailure.empty()) throw;
    std::string failure = "unknown failure";
    try {
        throw;
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
    }
    RollbackFailed(failure, rollbackFailure);
}

void TVXCommit::RollbackFailed(const std::string& failure, const std::string& rollbackFailure) {
    std::string what = "the commit failed (" + failure + ") and so did its rollback (" + rollbackFailure +
                       "); the archive may be damaged";
    // The temporary copy holds the old archive from the cut on: left for whoever repairs it.
    if (temp_ && !tempName_.empty()) what += "; its old content from offset " + std::to_string(cutPosition_) +
                                             " is kept in \"" + tempName_ + "\"";
    temp_.reset();
    // The failure that started it stays reachable beneath, so that a caller can still tell why
    // the commit failed (a drive pulled out fails the rollback's writes as well).
    std::throw_with_nested(EVXException(vxerr::RollbackFailed, what, owner_));
}
