#pragma once
// An entry's data read back from the archive: inflated by zlib (or taken as they are when
// stored), decrypted first when the item still carries the password it was written with. What
// comes out must have the item's size and CRC-32.
//
// Deflate data written in several chunks (TDirItem::Chunks) whose source can still be read are
// inflated side by side on the pool's threads, each chunk primed with the source's 32 KiB in
// front of it; all others are read from the front on the caller's thread. Data that cannot be
// read back (another writer's method, or encrypted with a password this archiver does not hold)
// are left to the header checks.
#include <cstdint>

class TStream;
class TVerifyRun;
struct TDirItem;

// dataAt is the data's stream position. fromSource: the commit wrote these data from the item's
// source just now, so the source, when it can still be read, must also have the item's size.
// False when a handler asked to stop.
bool CheckEntryData(TStream& archive, int64_t dataAt, const TDirItem& item, bool fromSource, TVerifyRun& run);
