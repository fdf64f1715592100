#include "archiver/write/commit.h"

#include <algorithm>

// An append writes its new entries where the old directory begins. Before the first byte goes
// there, the old directory is written once more further on, and the file then ends in it: a
// reader (or a power cut) meets an archive of the old entries at every moment until the new
// directory is complete and the cut after it drops the copy.

void TVXCommit::KeepOldDirectory() {
    oldSize_ = archive_.Size();
    // Without a directory there is nothing to keep readable (a new archive, or a file that was
    // no archive and loaded empty).
    appending_ = dir_.FoundDirectory() && oldSize_ > cutPosition_;
    if (!appending_) return;
    oldTail_.resize(static_cast<size_t>(oldSize_ - cutPosition_));
    archive_.SetPosition(cutPosition_);
    archive_.ReadBuffer(oldTail_.data(), static_cast<int64_t>(oldTail_.size()));
}

void TVXCommit::MakeRoom(int64_t end) {
    if (keptAt_ >= 0 && end <= keptAt_) return;
    const int64_t position = archive_.Position();
    // Beyond the room asked for and beyond all the file holds, the old directory included, so
    // that the directory read until now stays whole while its copy is written.
    const int64_t at = std::max(end, archive_.Size());
    std::array<uint8_t, TEndRecord::Size> endRecord = dir_.EndRecord;
    // The old entries' offsets count from where the archive began when it was loaded.
    const std::vector<uint8_t> copy = dir_.EncodeDirectory(dir_.Snapshot, at, savedStartOffset_, endRecord);
    archive_.SetPosition(at);
    // One write: the file ends in a complete directory before it and after it.
    archive_.WriteBuffer(copy.data(), static_cast<int64_t>(copy.size()));
    // The copy is on the disk before anything overwrites the directory it replaces.
    archive_.Flush();
    keptAt_ = at;
    archive_.SetPosition(position);
}

void TVXCommit::RestoreOldDirectory() {
    // Until its copy is complete nothing overwrites the old directory: only what a failed copy
    // added behind it goes (nothing at all when the file takes no write, as a read-only one).
    if (keptAt_ < 0) {
        if (archive_.Size() != oldSize_) archive_.SetSize(oldSize_);
        return;
    }
    archive_.SetPosition(cutPosition_);
    archive_.WriteBuffer(oldTail_.data(), static_cast<int64_t>(oldTail_.size()));
    archive_.SetSize(oldSize_);
    keptAt_ = -1;
}
