#pragma once
// The entry writer: one new entry of the commit (local header, data through the data step, the
// header patched with CRC and sizes) at the end of the archive, with its reports.
#include "archiver/write/write_host.h"
#include "archiver/zip/dir_item.h"

class TStream;

// Writes item at the archive stream's position and leaves the stream at its end. A failure of
// the archiver's own goes to OnProcessFileFailure when a handler is assigned, and is raised
// otherwise; a stop requested while the data flowed is left in the progress state's Cancel.
void WriteNewEntry(TWriteHost& host, TStream& archive, TDirItem& item);
