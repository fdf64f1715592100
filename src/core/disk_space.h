#pragma once
// What a volume has room for and what a file takes, asked before a backup writes anything.
#include <cstdint>
#include <string>

// The bytes the calling user may still write on the volume that holds path. A folder that is
// not there yet is answered for by its nearest existing parent. False when no volume answers
// (a drive that is not there, a share that cannot be reached).
bool FreeSpaceFor(const std::string& path, uint64_t& freeBytes);

// The size of a file; false when it cannot be read (missing, a folder).
bool FileSizeOf(const std::string& path, uint64_t& size);
