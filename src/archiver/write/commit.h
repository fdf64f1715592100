#pragma once
// Stage write/ owns the archive file: the commit (here) with its rollback, the entry writer
// that puts one new entry in place, the directory manager that loads and writes the central
// directory, and the archive's temporary files.
//
// The commit of an update batch. Appending to an archive (every change at or after its last old
// entry, which is all the archiver's operations make) keeps the old archive readable until the
// new one is complete: its directory is first written once more beyond the room the new entries
// can take, the new entries then replace the old directory, the new directory follows them, and
// only then is the copy cut off (old_directory.cpp). A change in the middle cuts the archive at
// the first changed entry, keeps the old tail in a temporary file, writes new entries in place
// and copies unchanged ones back. The rollback (rollback.cpp) undoes all of it when the commit
// fails or is cancelled.
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
    // as they were before the batch when it is cancelled or fails (and raises the failure). A
    // rollback that fails in turn raises code 34, naming the temporary copy it leaves behind.
    void Run();

private:
    void WriteEntries();
    // With the component's Verify on, reads back what the commit wrote (the items from the first
    // change on and the directory) while it can still roll back; false when a handler stopped it
    // (Cancel is then set). Raises when the archive does not hold what was meant.
    bool ReadBack();
    // A pending item the entry writer gave up on (its failure went to OnProcessFileFailure): its
    // partial bytes are dropped and it is left out of the directory that is written, so that no
    // central header points at missing data.
    void DiscardEntry(int index, int64_t entryStart);
    int FindFirstChange() const;
    TVXProcessOperation ReportedOperation() const;
    // Held only, as RestoreFromTemp (kept for a change in the middle of an archive; nothing in
    // this program makes one, only tests that set an item's Pending and Operation by hand).
    void CopyTailToTemp(int index);
    void CopyEntry(int index);
    void FinishMoves();
    // old_directory.cpp
    void KeepOldDirectory();
    void MakeRoom(int64_t end);
    void RestoreOldDirectory();
    // rollback.cpp
    void DeleteTemp();
    void RestoreFromTemp();
    void Rollback();
    // Rolls back after failure (the exception being handled) and raises it again, or raises code
    // 34 when the rollback fails as well.
    [[noreturn]] void RollbackAndRethrow();
    [[noreturn]] void RollbackFailed(const std::string& failure, const std::string& rollbackFailure);

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
    bool cut_ = false;            // the archive stream has been cut at cutPosition_ (or written from it)
    // Appending: the archive's size and its bytes from cutPosition_ on (the old directory) as
    // they were, and where the copy of the old directory now lies (-1: not written yet).
    bool appending_ = false;
    int64_t oldSize_ = 0;
    std::vector<uint8_t> oldTail_;
    int64_t keptAt_ = -1;
};
