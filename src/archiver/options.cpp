#include "archiver/options.h"

const TClassInfo& TVXOptions::StaticClass() {
    using P = Published<TVXOptions>;
    static const TClassInfo info = MakeClassInfo<TVXOptions, TPersistent>("TVXOptions", {
        P::Bool("Recurse", &TVXOptions::Recurse, &TVXOptions::SetRecurse, true),
        P::Enum("StorePath", StorePathModeInfo(), &TVXOptions::StorePath, &TVXOptions::SetStorePath, spRelativePath),
        P::Enum("ShareMode", FileShareModeInfo(), &TVXOptions::ShareMode, &TVXOptions::SetShareMode, smShareDenyNone),
        P::Enum("OverwriteMode", OverwriteModeInfo(), &TVXOptions::OverwriteMode, &TVXOptions::SetOverwriteMode,
                omAlways),
        P::Bool("CreateDirs", &TVXOptions::CreateDirs, &TVXOptions::SetCreateDirs, true),
        P::Bool("ReplaceReadOnly", &TVXOptions::ReplaceReadOnly, &TVXOptions::SetReplaceReadOnly, true),
        P::Bool("SetAttributes", &TVXOptions::SetAttributes, &TVXOptions::SetSetAttributes, true),
        P::Int("SearchAttr", &TVXOptions::SearchAttr, &TVXOptions::SetSearchAttr, faAnyFile),
    });
    return info;
}

void TVXOptions::Assign(const TPersistent& source) {
    if (auto* other = dynamic_cast<const TVXOptions*>(&source)) {
        recurse_ = other->recurse_;
        storePath_ = other->storePath_;
        overwriteMode_ = other->overwriteMode_;
        createDirs_ = other->createDirs_;
        replaceReadOnly_ = other->replaceReadOnly_;
        setAttributes_ = other->setAttributes_;
        searchAttr_ = other->searchAttr_;
        return;
    }
    TPersistent::Assign(source);
}
