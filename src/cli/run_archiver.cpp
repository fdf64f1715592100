#include "cli/run_archiver.h"

#include <cstdio>

#include "archiver/select/masks_platform.h"
#include "archiver/vorbex.h"
#include "archiver/zip/records.h"
#include "core/archive_replacement.h"
#include "core/exceptions.h"
#include "core/paths.h"
#include "core/text.h"

namespace {

const char* MethodName(uint16_t method) {
    switch (method) {
        case 0: return "stored";
        case 8: return "deflate";
        default: return "other";
    }
}

void ListDirectory(TVorbex& archiver, std::ostream& out) {
    // Read only and sharing everything: listing must never change the file.
    archiver.Open(fmOpenRead | fmShareDenyNone);
    // The archiver loads any other file as an archive without entries.
    if (!archiver.Directory()->FoundDirectory())
        throw EVXException(vxerr::DamagedArchive, "it holds no end of central directory record", &archiver);
    const TVXDirArray& items = archiver.Directory()->Items;
    out << "method   compressed uncompressed crc32    offset     name\n";
    for (int i = 0; i < items.Count(); ++i) {
        const TDirItem& item = *items.ItemPtr(i);
        out << Format("%-8s %10llu %12llu %08lX %10llu %s%s\n", MethodName(item.Method),
                      static_cast<unsigned long long>(item.CompressedSize),
                      static_cast<unsigned long long>(item.UncompressedSize), static_cast<unsigned long>(item.Crc32),
                      static_cast<unsigned long long>(item.LocalHeaderOffset), item.StoredName.c_str(),
                      (item.Flags & kFlagEncrypted) ? " (encrypted)" : "");
    }
    out << Format("%d entries\n", items.Count());
    archiver.Close();
}

// Adds each mask's files but those of exclusion (a mask); returns the masks that selected none,
// quoted, for the failure.
std::string AddMasks(TVorbex& archiver, const TCommandLine& line, const std::string& exclusion) {
    archiver.SetBaseDir(line.BaseDir);
    std::string unmatched;
    for (const std::string& mask : line.Masks) {
        const int before = archiver.Directory()->Items.Count();
        archiver.AddMatchingFiles(mask, faAnyFile, exclusion);
        if (archiver.Directory()->Items.Count() == before)
            unmatched += (unmatched.empty() ? "\"" : ", \"") + mask + "\"";
    }
    return unmatched;
}

}  // namespace

std::string VorbexFailureText(const std::exception& failure) {
    // A short read or write carries only the system's number.
    const auto* transfer = dynamic_cast<const EStreamError*>(&failure);
    if (transfer && transfer->OsError != 0 &&
        (dynamic_cast<const EReadError*>(transfer) || dynamic_cast<const EWriteError*>(transfer)))
        return transfer->Message() + ": " + SysErrorMessage(transfer->OsError);
    return failure.what();
}

void RunArchiver(TVorbex& archiver, const TCommandLine& line, std::ostream& out) {
    archiver.SetFileName(line.Archive);
    if (line.List) {
        ListDirectory(archiver, out);
        return;
    }
    // The archiver walks the current folder in place of one it cannot enter.
    if (!IsExistingFolder(line.BaseDir)) throw EUsageError("BASEDIR \"" + line.BaseDir + "\" is not a folder");
    archiver.SetCompressionMode(line.CompressionMode);
    archiver.SetPassword(line.Password);
    archiver.SetVerify(line.Verify);
    archiver.SetDeflateWorkers(line.Threads);
    std::string unmatched;
    if (line.Update) {
        archiver.OpenDefault();
        // OpenDefault falls back to reading only; the append would fail at its first write.
        if ((archiver.OpenMode() & 3) == fmOpenRead)
            throw EFOpenError(Format("Cannot open file \"%s\" for writing: it is read-only or another program "
                                     "has it open",
                                     line.Archive.c_str()));
        unmatched = AddMasks(archiver, line, "");
        archiver.Close();
    } else {
        // Created in place, the archive would empty an earlier one before the new one is whole.
        TArchiveReplacement replacement(line.Archive);
        try {
            archiver.SetFileName(replacement.TemporaryName());
            archiver.Open(fmCreate);
            // Still there while its successor is written, and inside the folder it packs it would
            // be packed into it.
            unmatched = AddMasks(archiver, line, FullPathName(line.Archive));
            archiver.Close();
        } catch (...) {
            // The temporary file can be removed only once the archiver lets it go.
            archiver.Close();
            throw;
        }
        try {
            replacement.PutInPlace();
        } catch (const EOSError& e) {
            throw EOSError(Format("Cannot replace \"%s\": %s", line.Archive.c_str(), e.what()), e.ErrorCode);
        }
    }
    // A mask with a typo must not pass for a backup.
    if (!unmatched.empty()) throw ENothingSelected("no file matches " + unmatched);
}
