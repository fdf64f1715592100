#pragma once
// The directory of the open archive: the current items, the Snapshot taken when an update batch
// begins, the end record and archive comment, and the reading and writing of the central
// directory.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archiver/zip/dir_array.h"
#include "archiver/zip/records.h"

class TStream;
class TComponent;

class TVXDirManager {
public:
    // Loads the directory of what the stream holds. owner only names the component in errors.
    TVXDirManager(TStream& archive, const TComponent* owner);
    TVXDirManager(const TVXDirManager&) = delete;
    TVXDirManager& operator=(const TVXDirManager&) = delete;

    TVXDirArray Snapshot;
    TVXDirArray Items;
    std::string ArchiveComment;
    std::array<uint8_t, TEndRecord::Size> EndRecord{};
    // Added to a recorded offset to get the stream position; non-zero when data precedes the
    // archive's first entry.
    int64_t StartOffset = 0;

    void ResetEndRecord();
    // Finds the end record nearest to the end of the stream in its last 65,600 bytes.
    bool FindEndRecord(std::array<uint8_t, TEndRecord::Size>& record, int64_t& position);
    void LoadDirectory();
    void LocateArchiveStart(int64_t endRecordPosition);
    bool MatchesFirstEntry(int64_t position);
    // Appends the central directory of Items (ZIP64 records when needed), the end record and the
    // archive comment at the end of the stream.
    void WriteCentralDirectory();
    // The same at stream position start, leaving the stream after the directory; beforeWriting
    // hears of the position the directory will end at before its first byte is written.
    void WriteCentralDirectoryAt(int64_t start, const std::function<void(int64_t end)>& beforeWriting);
    // The bytes of a directory of items as they read when written at stream position start, in
    // an archive that begins at stream position startOffset; endRecord, the record to build on,
    // receives the end record written.
    std::vector<uint8_t> EncodeDirectory(const TVXDirArray& items, int64_t start, int64_t startOffset,
                                         std::array<uint8_t, TEndRecord::Size>& endRecord) const;

    // Stream position where the central directory starts: where it was found on loading or
    // last written; 0 when the archive has none.
    int64_t CentralDirPosition() const { return centralDirPosition_; }
    // Whether an end record was found on loading or a directory has been written since.
    bool FoundDirectory() const { return foundDirectory_; }
    TStream& Archive() { return archive_; }

private:
    void ReadZip64End(int64_t endRecordPosition, uint64_t& entries, uint64_t& dirSize, int64_t& dirEnd);
    void ReadCentralEntries(int64_t dirStart, uint64_t dirSize, uint64_t entries);
    void CheckEntryBounds();
    [[noreturn]] void Damaged(const std::string& what) const;

    TStream& archive_;
    const TComponent* owner_;
    int64_t centralDirPosition_ = 0;
    bool foundDirectory_ = false;
};
