#pragma once
// A copy of a file that is the bytes of one moment. A file that another program writes while it
// is copied (a database under its server) gives a torn copy that looks whole; so the source is
// held with read sharing only for the whole copy: a program that already has it open for
// writing makes the copy fail at once, and none can open it for writing until the copy is done.
// Readers that share reading are not disturbed.
//
// The copy is written under a temporary name beside the destination and takes the destination's
// name only when it is complete and on the disk: a copy that fails or is stopped leaves an
// earlier file of that name as it was and nothing of its own.
#include <cstdint>
#include <functional>
#include <string>

#include "core/exceptions.h"

// Raised when the system refuses a step of the copy: ErrorCode says why, Source whether it was
// the source (reading) or the destination (writing, putting in place), Path the file concerned.
class EFileCopyError : public EOSError {
public:
    EFileCopyError(std::string message, unsigned long code, bool source, std::string path)
        : EOSError(std::move(message), code), Source(source), Path(std::move(path)) {}
    bool Source;
    std::string Path;
};

// Called once before the first byte and after every buffer with the bytes copied so far and the
// source's size. It may raise to stop the copy; the exception passes through after the
// temporary file is removed.
using TCopyProgress = std::function<void(uint64_t done, uint64_t total)>;

// Copies source over destination in large sequential buffers; the destination gets the source's
// last-write time (not its attributes) and is flushed before it takes its name.
void CopyFileDenyingWriters(const std::string& source, const std::string& destination, const TCopyProgress& progress);

// Where the copy is written until it is complete: beside the destination.
std::string CopyTemporaryName(const std::string& destination);
