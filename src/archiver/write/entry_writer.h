#pragma once
// The entry writer: one new entry of the commit (local header, data through the data step, the
// header patched with CRC and sizes) at the end of the archive, with its reports.
#include <cstdint>
#include <functional>

#include "archiver/write/write_host.h"
#include "archiver/zip/dir_item.h"

class TStream;

// Told, before the entry's first byte is written, the stream position that its local header
// and data will not reach.
using TEntryRoom = std::function<void(int64_t end)>;

// Writes item at the archive stream's position and leaves the stream after the entry. A stop
// requested before or while the data flowed is left in the progress state's Cancel. A failure of
// the archiver's own goes to OnProcessFileFailure when a handler is assigned, and the result is
// then false: the item is given up, and what was written of it is to be dropped. Without a
// handler the failure is raised.
bool WriteNewEntry(TWriteHost& host, TStream& archive, TDirItem& item, const TEntryRoom& room = {});
