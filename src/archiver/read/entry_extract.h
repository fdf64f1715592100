#pragma once
// One entry of an archive written out (inflated, or as stored) to another stream, read from the
// front by the same checks as the test of an archive: out receives exactly the entry's bytes
// when the call returns, and a call that raises has left in out what it got so far, which the
// caller throws away.
#include <cstdint>
#include <functional>
#include <string>

class TStream;

// Asked before each piece is read with the entry's bytes written so far and its size; true
// stops the extraction.
using TExtractProgress = std::function<bool(int64_t done, int64_t total)>;

// Writes the entry stored under name (as the directory has it, with "/") to out from its
// position on. False when progress asked to stop. An entry that is not there, cannot be read
// (another method, encryption) or whose data are not its size and CRC-32 raise EVXException
// (code 32 for what the directory says, 33 for what the data say); out's own failures pass
// through.
bool ExtractEntry(TStream& archive, const std::string& name, TStream& out, const TExtractProgress& progress);
