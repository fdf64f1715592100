#include "archiver/select/file_selection.h"

#include "archiver/select/masks.h"
#include "archiver/select/path_resolution.h"
#include "archiver/select/source_files.h"
#include "archiver/select/stored_names.h"
#include "archiver/zip/records.h"
#include "core/paths.h"

namespace {

// The selection tests only the hidden, system, volume and folder bits against SearchAttr.
constexpr uint32_t kSelectiveAttributes = faHidden | faSysFile | faVolumeID | faDirectory;

bool MatchesAny(const std::string& path, const TStringList& masks, const std::string& baseDir) {
    for (const std::string& mask : masks.Items())
        if (MatchesMask(path, mask, baseDir)) return true;
    return false;
}

// Fills item, a new and empty one, as a pending item for path. False when the path yields no stored name.
bool FillNewItemHeader(const TSelectionHost& host, TDirItem& item, const std::string& path) {
    std::string name = MakeStoredName(path, host.BaseDir(), host.Options()->StorePath());
    if (name.empty()) return false;
    uint32_t attributes = 0;
    uint32_t dosDateTime = 0;
    bool folder = false;
    const std::optional<TPathInfo> info = PathInfo(path);
    if (info) {
        attributes = info->Attributes;
        dosDateTime = info->DosDateTime;
        folder = (attributes & faDirectory) != 0;
        if (folder && name.back() != '/') name += '/';
    } else {
        dosDateTime = DosDateTimeNow();
    }

    item.StoredName = name;
    item.Pending = 1;
    item.EntryPassword = host.Password();
    item.SourcePath = path;
    item.EntryCompressionMode = host.CompressionMode();
    item.VersionMadeBy = kVersionDefault;
    item.VersionNeeded = kVersionDefault;
    // Only data is encrypted: a folder entry flagged as encrypted would need an encryption
    // header that it cannot have, and readers reject it.
    item.Flags = host.Password().empty() || folder ? 0 : kFlagEncrypted;
    // A folder has no data, and readers reject a deflated entry without a deflate stream:
    // folders are stored.
    item.Method = folder ? 0 : host.CompressionMethod();
    item.Time = static_cast<uint16_t>(dosDateTime & 0xFFFF);
    item.Date = static_cast<uint16_t>(dosDateTime >> 16);
    // Stands until the data step puts the real CRC in.
    item.Crc32 = folder ? 0 : 0xFFFFFFFFu;
    item.ExternalAttributes = attributes;
    return true;
}

class TFileSelection {
public:
    TFileSelection(TSelectionHost& host, const TStringList& masks, uint16_t searchAttr, TVXProcessOperation operation,
                   const TStringList& exclusions, TVXDirArray& items)
        : host_(host),
          masks_(masks),
          searchAttr_(searchAttr),
          operation_(operation),
          exclusions_(exclusions),
          items_(items) {}

    void ScanFolder(const std::string& folder) {
        ListFolder(folder, [&](const TFoundEntry& entry) {
            if ((entry.Attributes & kSelectiveAttributes & ~static_cast<uint32_t>(searchAttr_)) != 0) return;
            // Covers "." and ".." as well as every other name that begins with a dot.
            if (entry.Name.empty() || entry.Name[0] == '.') return;
            const std::string path = JoinPath(folder, entry.Name);
            // A folder's contents are appended before the folder's own item.
            if (host_.Options()->Recurse() && (entry.Attributes & faDirectory) != 0) ScanFolder(path);
            if (!MatchesAny(path, masks_, host_.BaseDir())) return;
            if (MatchesAny(path, exclusions_, host_.BaseDir())) return;
            // The archive inside the folder it packs cannot be an entry of itself.
            if (host_.IsArchiveFile(path)) return;
            AddFileItem(path);
        });
    }

private:
    void AddFileItem(const std::string& path) {
        if (!host_.FireConfirmProcessFile(path, operation_)) return;
        const int index = items_.Count();
        items_.SetCount(index + 1);
        // An item without a name would have no entry data and no counterpart in a later
        // Snapshot, and would make the commit fail; it is dropped instead of kept empty.
        if (!FillNewItemHeader(host_, *items_.ItemPtr(index), path)) {
            items_.SetCount(index);
            return;
        }
        TDirItem& item = *items_.ItemPtr(index);
        item.Operation = operation_;
        if (MatchesAny(path, *host_.NoCompressionMasks(), host_.BaseDir())) item.EntryCompressionMode = 0;
    }

    TSelectionHost& host_;
    const TStringList& masks_;
    uint16_t searchAttr_;
    TVXProcessOperation operation_;
    const TStringList& exclusions_;
    TVXDirArray& items_;
};

}  // namespace

void SelectFiles(TSelectionHost& host, const TStringList& masks, uint16_t searchAttr, TVXProcessOperation operation,
                 const TStringList& exclusions, TVXDirArray& items) {
    TFileSelection selection(host, masks, searchAttr, operation, exclusions, items);
    selection.ScanFolder(ResolveFolder(host.BaseDir()));
}
