#include "archiver/verify/directory_check.h"

#include <algorithm>
#include <vector>

#include "archiver/verify/verify_run.h"
#include "archiver/write/dir_manager.h"
#include "archiver/zip/entry_codec.h"
#include "core/streams.h"
#include "core/text.h"

namespace {

constexpr size_t kZip64EndLength = TZip64EndRecord::Size + TZip64Locator::Size;

// The ZIP64 end record and locator found in front of the end record must describe the directory
// that was written.
void CheckZip64End(const TVXDirManager& dir, const uint8_t* bytes, uint64_t dirSize, const TVerifyRun& run) {
    const auto locator = TZip64Locator::Decode(bytes + TZip64EndRecord::Size);
    if (!HasSignature(bytes, TZip64EndRecord::Signature) || !locator)
        run.Differs("the ZIP64 end records have lost their signatures");
    const TZip64EndRecord end = TZip64EndRecord::Decode(bytes);
    const TEndRecord classic = TEndRecord::Decode(dir.EndRecord);
    const uint64_t count = static_cast<uint64_t>(dir.Items.Count());
    const uint64_t dirOffset = static_cast<uint64_t>(dir.CentralDirPosition() - dir.StartOffset);
    if (end.TotalEntries != count || end.EntriesOnDisk != count || end.CentralDirSize != dirSize ||
        end.CentralDirOffset != dirOffset || end.VersionMadeBy != kVersionZip64 || end.VersionNeeded != kVersionZip64 ||
        end.DiskNumber != classic.DiskNumber || end.CentralDirDisk != classic.CentralDirDisk ||
        locator->EndRecordOffset != dirOffset + dirSize || locator->EndRecordDisk != classic.DiskNumber ||
        locator->TotalDisks != uint32_t{classic.DiskNumber} + 1u)
        run.Differs("the ZIP64 end record differs from the directory written");
    // The fields no value is taken from (the record's own size) must hold what is written too.
    const auto endBytes = end.Encode();
    const auto locatorBytes = locator->Encode();
    if (!std::equal(endBytes.begin(), endBytes.end(), bytes) ||
        !std::equal(locatorBytes.begin(), locatorBytes.end(), bytes + TZip64EndRecord::Size))
        run.Differs("the ZIP64 end records differ from the ones written");
}

}  // namespace

void CheckDirectory(TVXDirManager& dir, const TVerifyRun& run) {
    TStream& archive = dir.Archive();
    const int64_t start = dir.CentralDirPosition();
    const int64_t size = archive.Size();
    std::vector<uint8_t> tail(static_cast<size_t>(std::max<int64_t>(0, size - start)));
    archive.SetPosition(start);
    archive.ReadBuffer(tail.data(), static_cast<int64_t>(tail.size()));

    size_t at = 0;
    for (int i = 0; i < dir.Items.Count(); ++i) {
        const TDirItem& item = *dir.Items.ItemPtr(i);
        const std::vector<uint8_t> meant = EncodeCentralEntry(item);
        if (tail.size() - at < meant.size() || !std::equal(meant.begin(), meant.end(), tail.begin() + at))
            run.Differs("the central header of \"" + item.StoredName + "\" differs from the one written");
        at += meant.size();
    }
    const uint64_t dirSize = at;
    const std::string& comment = dir.ArchiveComment;
    const size_t endLength = TEndRecord::Size + comment.size();
    const size_t rest = tail.size() - at;
    if (rest == kZip64EndLength + endLength)
        CheckZip64End(dir, tail.data() + at, dirSize, run);
    else if (rest != endLength)
        run.Differs(Format("the archive ends %lld bytes away from where its end record should end",
                           static_cast<long long>(rest) - static_cast<long long>(endLength)));
    const uint8_t* end = tail.data() + tail.size() - endLength;
    if (!std::equal(dir.EndRecord.begin(), dir.EndRecord.end(), end))
        run.Differs("the end record differs from the one written");
    if (!std::equal(comment.begin(), comment.end(), end + TEndRecord::Size))
        run.Differs("the archive comment differs from the one written");
}
