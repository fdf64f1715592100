#pragma once
// What every stage of the archiver shares, and nothing more: the codes it raises with their
// exception, the enumerations of its interface and the file attribute bits. It includes no other
// header of the archiver, so that a stage that needs a code or an attribute bit reaches no other
// stage for it.
#include <cstdint>
#include <string>

#include "core/exceptions.h"

class TComponent;

// File attribute bits, as the folder listing reports them and a search asks for them.
constexpr uint32_t faReadOnly = 0x01;
constexpr uint32_t faHidden = 0x02;
constexpr uint32_t faSysFile = 0x04;
constexpr uint32_t faVolumeID = 0x08;
constexpr uint32_t faDirectory = 0x10;
constexpr uint32_t faArchive = 0x20;
// Every kind of entry: the search attributes that leave nothing out.
constexpr uint32_t faAnyFile = 0x3F;

enum TVXCompressionLevel : uint8_t { clNone, clFastest, clNormal, clMax };
enum TVXProcessOperation : uint8_t { poAdd, poMove, poDelete, poUpdate, poExtract, poTest, poRename, poChangeAttr };
enum TVXProgressPhase : uint8_t { ppStart, ppProcess, ppEnd };
enum TVXOverwriteMode : uint8_t { omPrompt, omAlways, omNever, omIfNewer, omIfOlder };
enum TVXFileShareMode : uint8_t { smShareCompat, smShareExclusive, smShareDenyWrite, smShareDenyRead, smShareDenyNone };
enum TVXStorePathMode : uint8_t { spNoPath, spRelativePath, spFullPath };

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

// The archiver's own failures: one exception class whose message names the component, says what
// went wrong in a fixed English text and ends with the raising code in five digits (errors.cpp).
class EVXException : public Exception {
public:
    // archiver may be null; it only lends its Name to the message.
    EVXException(int32_t code, const TComponent* archiver);
    // The table text is a format template; surplus arguments are ignored, a missing one is empty.
    EVXException(int32_t code, const std::string& argument, const TComponent* archiver);

    int32_t ErrorCode;    // index of the message text
    int32_t NativeError;  // the raising code
};
