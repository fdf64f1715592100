#pragma once
// A new archive is written beside the one it replaces and takes its name only when it is
// complete and on the disk, so a backup that fails part-way leaves the earlier archive whole.
#include <string>

// Where the new archive is written until it takes archiveName: beside it, as archiveName.tmp.
std::string TemporaryArchiveName(const std::string& archiveName);

class TArchiveReplacement {
public:
    explicit TArchiveReplacement(std::string archiveName);
    // A temporary file that did not take the archive's name is removed (see Discard).
    ~TArchiveReplacement();
    TArchiveReplacement(const TArchiveReplacement&) = delete;
    TArchiveReplacement& operator=(const TArchiveReplacement&) = delete;

    // In the archive's own folder, so that putting it in place is a rename on one volume.
    const std::string& TemporaryName() const { return temporaryName_; }

    // Gives the finished temporary file the archive's name in one step, replacing an earlier
    // archive. A read-only archive is kept, not replaced: the operator protected it. Raises
    // EOSError when the rename is refused; the earlier archive is then untouched.
    void PutInPlace();

    // Removes the temporary file after a failed backup; the writer must have released it.
    void Discard() const;

private:
    std::string archiveName_;
    std::string temporaryName_;
    bool inPlace_ = false;
};
