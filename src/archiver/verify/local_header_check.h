#pragma once
// An entry's local header read back: what a reader takes from it (signature, name, flags,
// method, time, CRC-32 and sizes, the lengths that lead to the data) must agree with the entry's
// central record.
#include <cstdint>

class TStream;
class TVerifyRun;
struct TDirItem;

// Returns the stream position where the entry's data begin. dataLimit is where the central
// directory begins: header and data must end before it.
int64_t CheckLocalHeader(TStream& archive, const TDirItem& item, int64_t startOffset, int64_t dataLimit,
                         const TVerifyRun& run);
