#include "archiver/read/archive_test.h"

#include <memory>

#include "archiver/errors.h"
#include "archiver/read/entry_reading.h"
#include "archiver/verify/entry_data_check.h"
#include "archiver/verify/local_header_check.h"
#include "archiver/verify/verify_run.h"
#include "archiver/write/dir_manager.h"
#include "core/streams.h"

namespace {

TTestedEntry Describe(const TDirItem& item) {
    TTestedEntry entry;
    entry.Name = item.StoredName;
    entry.Method = item.Method;
    entry.Time = item.Time;
    entry.Date = item.Date;
    entry.Crc32 = item.Crc32;
    entry.CompressedSize = item.CompressedSize;
    entry.UncompressedSize = item.UncompressedSize;
    return entry;
}

}  // namespace

bool TArchiveTest::Sound() const {
    if (!Problem.empty() || Stopped) return false;
    for (const TTestedEntry& entry : Entries)
        if (!entry.Problem.empty()) return false;
    return true;
}

namespace {

// The archive's directory, or none with the result's Problem saying why.
std::unique_ptr<TVXDirManager> LoadDirectory(TStream& archive, TArchiveTest& result) {
    try {
        auto dir = std::make_unique<TVXDirManager>(archive, nullptr);
        if (dir->FoundDirectory()) return dir;
        result.Problem = "no end of central directory record: not a ZIP archive, or cut short";
    } catch (const EVXException& e) {
        result.Problem = WhatIsWrong(e);
    } catch (const EReadError& e) {
        result.Problem = "its directory cannot be read: " + e.Message();
    }
    return nullptr;
}

}  // namespace

TArchiveTest ReadDirectory(TStream& archive) {
    TArchiveTest result;
    if (const auto dir = LoadDirectory(archive, result))
        for (int i = 0; i < dir->Items.Count(); ++i) result.Entries.push_back(Describe(*dir->Items.ItemPtr(i)));
    return result;
}

TArchiveTest TestArchive(TStream& archive, const TArchiveTestOptions& options) {
    TArchiveTest result;
    const std::unique_ptr<TVXDirManager> dir = LoadDirectory(archive, result);
    if (!dir) return result;
    int64_t total = 0;
    for (int i = 0; i < dir->Items.Count(); ++i) total += static_cast<int64_t>(dir->Items.ItemPtr(i)->UncompressedSize);
    TVerifyContext context;
    context.BeforePiece = options.BeforePiece;
    TVerifyRun run(context, total);
    for (int i = 0; i < dir->Items.Count(); ++i) {
        // A copy: the password is lent to this entry's reading only.
        TDirItem item = *dir->Items.ItemPtr(i);
        TTestedEntry entry = Describe(item);
        try {
            const int64_t dataAt = CheckLocalHeader(archive, item, dir->StartOffset, dir->CentralDirPosition(), run);
            entry.Problem = WhyUnreadable(item, options.Password);
            if (entry.Problem.empty()) {
                item.EntryPassword = options.Password;
                if (!CheckEntryData(archive, dataAt, item, false, run)) {
                    result.Stopped = true;
                    return result;
                }
            }
        } catch (const EVXException& e) {
            entry.Problem = WhatIsWrong(e);
        } catch (const EReadError& e) {
            entry.Problem = "its data cannot be read: " + e.Message();
        }
        result.Entries.push_back(entry);
        if (options.Tested) options.Tested(entry);
    }
    return result;
}
