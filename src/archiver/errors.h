#pragma once
// The archiver's own failures: one exception class whose message names the component, says what
// went wrong in a fixed English text and ends with the raising code in five digits.
#include <cstdint>
#include <string>

#include "core/exceptions.h"

class TComponent;

// Codes raised by the archiver's operations.
namespace vxerr {
constexpr int32_t PutIndexOutOfRange = 1;
constexpr int32_t GetIndexOutOfRange = 2;
constexpr int32_t ItemPtrIndexOutOfRange = 3;
constexpr int32_t InvalidCompressionMode = 5;
constexpr int32_t NoTemporaryCopy = 6;
constexpr int32_t NoSnapshotCounterpart = 7;
constexpr int32_t OpenDefaultWithoutName = 9;
constexpr int32_t OpenWithoutName = 10;
constexpr int32_t ArchiveFileNotFound = 12;
constexpr int32_t ArchiveNotOpen = 13;
constexpr int32_t CannotDeleteMovedFile = 27;
constexpr int32_t InMemoryCreateOnly = 28;
constexpr int32_t InMemoryOffWithoutName = 29;
// A file whose records contradict each other or its size (argument: what is wrong).
constexpr int32_t DamagedArchive = 32;
// What the commit reads back differs from what it meant to write (argument: what differs).
constexpr int32_t VerificationFailed = 33;
// A commit failed and so did its rollback: the archive may be damaged (argument: both failures
// and the temporary copy left behind).
constexpr int32_t RollbackFailed = 34;
}  // namespace vxerr

class EVXException : public Exception {
public:
    // archiver may be null; it only lends its Name to the message.
    EVXException(int32_t code, const TComponent* archiver);
    // The table text is a format template; surplus arguments are ignored, a missing one is empty.
    EVXException(int32_t code, const std::string& argument, const TComponent* archiver);

    int32_t ErrorCode;    // index of the message text
    int32_t NativeError;  // the raising code
};

// The message text for a message index (0 to 17); "Unknown error" outside that range.
const char* VXMessageText(int32_t index);
// The message index a code maps to; 0 for codes without a message of their own.
int32_t VXMessageIndexOfCode(int32_t code);
