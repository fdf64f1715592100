#include "archiver/read/entry_extract.h"

#include "archiver/errors.h"
#include "archiver/read/entry_reading.h"
#include "archiver/verify/entry_data_check.h"
#include "archiver/verify/local_header_check.h"
#include "archiver/verify/verify_run.h"
#include "archiver/write/dir_manager.h"
#include "core/streams.h"

bool ExtractEntry(TStream& archive, const std::string& name, TStream& out, const TExtractProgress& progress) {
    TVXDirManager dir(archive, nullptr);
    const TDirItem* item = nullptr;
    for (int i = 0; i < dir.Items.Count() && !item; ++i)
        if (dir.Items.ItemPtr(i)->StoredName == name) item = dir.Items.ItemPtr(i);
    if (!item) throw EVXException(vxerr::DamagedArchive, "there is no entry \"" + name + "\"", nullptr);
    const std::string unreadable = WhyUnreadable(*item, "");
    if (!unreadable.empty()) throw EVXException(vxerr::DamagedArchive, "\"" + name + "\": " + unreadable, nullptr);

    TVerifyContext context;
    context.BeforePiece = progress;
    context.Output = [&out](const uint8_t* bytes, size_t n) { out.WriteBuffer(bytes, static_cast<int64_t>(n)); };
    TVerifyRun run(context, static_cast<int64_t>(item->UncompressedSize));
    try {
        const int64_t dataAt = CheckLocalHeader(archive, *item, dir.StartOffset, dir.CentralDirPosition(), run);
        return CheckEntryData(archive, dataAt, *item, false, run);
    } catch (const EReadError& e) {
        // Fewer bytes than the directory promises: the file was cut short. A refusal of the
        // system passes through with its reason.
        if (e.OsError == 0)
            throw EVXException(vxerr::DamagedArchive, "the data of \"" + name + "\" are cut short", nullptr);
        throw;
    }
}
