#pragma once
// Stage write/ owns the archive file: the commit (here) with its rollback, the entry writer
// that puts one new entry in place, the directory manager that loads and writes the central
// directory, and the archive's temporary files.
//
// The commit of an update batch: cut the archive at the first changed entry, keep the old tail
// in a temporary file, write new entries in place and copy unchanged ones back, write the
// directory. The rollback (rollback.cpp) undoes all of it when that fails or is cancelled.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archiver/write/dir_manager.h"
#include "archiver/write/write_host.h"
#include "core/streams.h"

class TComponent;

class TVXCommit {
public:
    // owner only names the component in errors.
    TVXCommit(TVXDirManager& dir, TStream& archive, TWriteHost& host, const TComponent* owner);
    TVXCommit(const TVXCommit&) = delete;
    TVXCommit& operator=(const TVXCommit&) = delete;

    // Writes the pending items of the directory into the archive, or leaves archive and directory
    // as they were before the batch when it is cancelled or fails (and raises the failure).
    void Run();
    // A pending item the entry writer gave up on: left out of the directory that is written, so
    // that no central header points at missing data.
    void DiscardEntry(int index);

private:
    int FindFirstChange() const;
    TVXProcessOperation ReportedOperation() const;
    void CopyTailToTemp(int index);
    void CopyEntry(int index);
    void FinishMoves();
    // rollback.cpp
    void DeleteTemp();
    void RestoreFromTemp();
    void Rollback();

    TVXDirManager& dir_;
    TStream& archive_;
    TWriteHost& host_;
    const TComponent* owner_;
    int firstChange_ = 0;
    int firstPending_ = -1;
    int64_t cutPosition_ = 0;
    int64_t savedStartOffset_ = 0;
    std::string tempName_;
    std::unique_ptr<TFileStream> temp_;
    std::vector<int> discarded_;  // ascending item indexes
    bool cut_ = false;            // the archive stream has been cut at cutPosition_
};
