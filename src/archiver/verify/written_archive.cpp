#include "archiver/verify/written_archive.h"

#include "archiver/verify/directory_check.h"
#include "archiver/verify/entry_data_check.h"
#include "archiver/verify/local_header_check.h"
#include "archiver/verify/verify_run.h"
#include "archiver/write/dir_manager.h"
#include "core/streams.h"

namespace {

// Data the commit took from the item's source just now (the others were copied).
bool WrittenFromSource(const TDirItem& item) {
    return item.Pending && (item.Operation == poAdd || item.Operation == poMove || item.Operation == poUpdate);
}

}  // namespace

bool VerifyWrittenArchive(TVXDirManager& dir, int firstWritten, const TVerifyContext& context) {
    int64_t total = 0;
    for (int i = firstWritten; i < dir.Items.Count(); ++i)
        total += static_cast<int64_t>(dir.Items.ItemPtr(i)->UncompressedSize);
    TVerifyRun run(context, total);
    TStream& archive = dir.Archive();
    try {
        // Every entry is found through the directory, so that comes first.
        CheckDirectory(dir, run);
        for (int i = firstWritten; i < dir.Items.Count(); ++i) {
            const TDirItem& item = *dir.Items.ItemPtr(i);
            const int64_t dataAt = CheckLocalHeader(archive, item, dir.StartOffset, dir.CentralDirPosition(), run);
            if (!CheckEntryData(archive, dataAt, item, WrittenFromSource(item), run)) return false;
        }
    } catch (const EReadError& e) {
        // A read the system refused (a drive pulled out, a bad sector) says nothing about what
        // was written: it is that failure. A file that gives back less than was written is not
        // the archive that was meant.
        if (e.OsError != 0) throw;
        run.Differs("what was written cannot be read back: " + e.Message());
    }
    // Where the commit left it.
    archive.Seek(0, TSeekOrigin::soEnd);
    return true;
}
