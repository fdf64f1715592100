#pragma once
// The event types of the archiver's interface and the names of its enumerations (the
// enumerations themselves are in common.h, which every stage shares).
#include <cstdint>
#include <functional>
#include <string>

#include "archiver/common.h"
#include "core/properties.h"

// The enumerations' names, as form descriptions spell their values.

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
