#pragma once
// The archiver's options: a persistent object owned by the archiver and loaded member by member
// from a form description (Options.ShareMode = ...).
#include <cstdint>

#include "archiver/types.h"
#include "core/persistent.h"

class TVXOptions : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
    // Copies every member but ShareMode from another TVXOptions.
    void Assign(const TPersistent& source) override;

    bool Recurse() const { return recurse_; }
    void SetRecurse(bool v) { recurse_ = v; }
    TVXStorePathMode StorePath() const { return storePath_; }
    void SetStorePath(TVXStorePathMode v) { storePath_ = v; }
    TVXFileShareMode ShareMode() const { return shareMode_; }
    void SetShareMode(TVXFileShareMode v) { shareMode_ = v; }

    // Held only (kept for form descriptions; nothing in this program reads them): the adding
    // operation takes its search attributes as an argument, and nothing extracts.
    TVXOverwriteMode OverwriteMode() const { return overwriteMode_; }
    void SetOverwriteMode(TVXOverwriteMode v) { overwriteMode_ = v; }
    bool CreateDirs() const { return createDirs_; }
    void SetCreateDirs(bool v) { createDirs_ = v; }
    bool ReplaceReadOnly() const { return replaceReadOnly_; }
    void SetReplaceReadOnly(bool v) { replaceReadOnly_ = v; }
    bool SetAttributes() const { return setAttributes_; }
    void SetSetAttributes(bool v) { setAttributes_ = v; }
    uint16_t SearchAttr() const { return searchAttr_; }
    void SetSearchAttr(uint16_t v) { searchAttr_ = v; }

private:
    bool recurse_ = true;
    TVXStorePathMode storePath_ = spRelativePath;
    // Starts away from its declared default (smShareDenyNone), so form descriptions record it.
    TVXFileShareMode shareMode_ = smShareCompat;
    TVXOverwriteMode overwriteMode_ = omAlways;
    bool createDirs_ = true;
    bool replaceReadOnly_ = true;
    bool setAttributes_ = true;
    uint16_t searchAttr_ = faAnyFile;
};
