#pragma once
// Enumerations and event types of the archiver's interface.
#include <cstdint>
#include <functional>
#include <string>

#include "core/properties.h"

enum TVXCompressionLevel : uint8_t { clNone, clFastest, clNormal, clMax };
enum TVXProcessOperation : uint8_t { poAdd, poMove, poDelete, poUpdate, poExtract, poTest, poRename, poChangeAttr };
enum TVXProgressPhase : uint8_t { ppStart, ppProcess, ppEnd };
enum TVXOverwriteMode : uint8_t { omPrompt, omAlways, omNever, omIfNewer, omIfOlder };
enum TVXFileShareMode : uint8_t { smShareCompat, smShareExclusive, smShareDenyWrite, smShareDenyRead, smShareDenyNone };
enum TVXStorePathMode : uint8_t { spNoPath, spRelativePath, spFullPath };

const TEnumInfo& CompressionLevelInfo();
const TEnumInfo& OverwriteModeInfo();
const TEnumInfo& FileShareModeInfo();
const TEnumInfo& StorePathModeInfo();

// Events are called with the archiver as Sender; bool& parameters are in-out.
using TVXProgressEvent =
    std::function<void(TObject* Sender, double Progress, TVXProcessOperation Operation, TVXProgressPhase ProgressPhase,
                       bool& Cancel)>;
using TVXFileProgressEvent =
    std::function<void(TObject* Sender, const std::string& FileName, double Progress, TVXProcessOperation Operation,
                       TVXProgressPhase ProgressPhase, bool& Cancel)>;
using TVXConfirmOverwriteEvent = std::function<void(TObject* Sender, const std::string& SourceFileName,
                                                    std::string& DestFileName, bool& Confirm)>;
using TVXConfirmProcessFileEvent =
    std::function<void(TObject* Sender, const std::string& FileName, TVXProcessOperation Operation, bool& Confirm)>;
using TVXOnPasswordEvent = std::function<void(TObject* Sender, const std::string& FileName, std::string& NewPassword,
                                              bool& SkipFile)>;
using TVXProcessFileFailureEvent =
    std::function<void(TObject* Sender, const std::string& FileName, TVXProcessOperation Operation,
                       int32_t NativeError, int32_t ErrorCode, const std::string& ErrorMessage)>;
