// The archive loader over arbitrary bytes: the directory manager loads the directory of an
// in-memory stream (end record, ZIP64 records, central headers, the archive's start), or
// refuses it with the archiver's own error. A directory it loads is written back in place of
// the old one, as a commit without new entries writes it, and read again: the same items, the
// same comment, the same archive start.
#include <cstdint>
#include <cstdlib>

#include "archiver/errors.h"
#include "archiver/write/dir_manager.h"
#include "archiver/zip/entry_codec.h"
#include "core/streams.h"

namespace {

bool SameItem(const TDirItem& a, const TDirItem& b) {
    return a.StoredName == b.StoredName && WrittenName(a) == WrittenName(b) && a.Comment == b.Comment &&
           a.Crc32 == b.Crc32 && a.CompressedSize == b.CompressedSize &&
           a.UncompressedSize == b.UncompressedSize && a.LocalHeaderOffset == b.LocalHeaderOffset &&
           a.Method == b.Method && a.Flags == b.Flags && a.Time == b.Time && a.Date == b.Date &&
           a.ExternalAttributes == b.ExternalAttributes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<int64_t>(size));
    TVXDirArray loaded;
    std::string comment;
    int64_t startOffset = 0;
    try {
        TVXDirManager dir(stream, nullptr);
        loaded.Assign(dir.Items);
        comment = dir.ArchiveComment;
        startOffset = dir.StartOffset;
        const int64_t cut = dir.CentralDirPosition() > 0 || dir.Items.Count() > 0 ? dir.CentralDirPosition()
                                                                                   : stream.Size();
        stream.SetPosition(cut);
        stream.SetSize(cut);
        dir.WriteCentralDirectory();
    } catch (const EVXException&) {
        return 0;  // refused as damaged
    } catch (const EStreamError&) {
        return 0;  // a record ran past the end of the stream
    }

    TVXDirManager again(stream, nullptr);
    if (again.Items.Count() != loaded.Count() || again.ArchiveComment != comment) abort();
    if (loaded.Count() > 0 && again.StartOffset != startOffset) abort();
    for (int i = 0; i < loaded.Count(); ++i)
        if (!SameItem(*again.Items.ItemPtr(i), *loaded.ItemPtr(i))) abort();
    return 0;
}
