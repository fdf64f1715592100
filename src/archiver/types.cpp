#include "archiver/types.h"

const TEnumInfo& CompressionLevelInfo() {
    static const TEnumInfo info{{"clNone", "clFastest", "clNormal", "clMax"}};
    return info;
}

const TEnumInfo& OverwriteModeInfo() {
    static const TEnumInfo info{{"omPrompt", "omAlways", "omNever", "omIfNewer", "omIfOlder"}};
    return info;
}

const TEnumInfo& FileShareModeInfo() {
    static const TEnumInfo info{
        {"smShareCompat", "smShareExclusive", "smShareDenyWrite", "smShareDenyRead", "smShareDenyNone"}};
    return info;
}

const TEnumInfo& StorePathModeInfo() {
    static const TEnumInfo info{{"spNoPath", "spRelativePath", "spFullPath"}};
    return info;
}
