#pragma once
// What the file selection reads from the component while it walks: the settings are read as the
// walk goes, so that a handler asked about one file may change them for the next.
#include <cstdint>
#include <string>

#include "archiver/options.h"
#include "archiver/types.h"
#include "core/persistent.h"

class TSelectionHost {
public:
    virtual const std::string& BaseDir() const = 0;
    virtual const std::string& Password() const = 0;
    virtual uint8_t CompressionMode() const = 0;
    virtual uint16_t CompressionMethod() const = 0;
    virtual TVXOptions* Options() const = 0;
    virtual TStringList* NoCompressionMasks() const = 0;
    // Whether path (absolute, as the walk builds it) is the open archive's own file.
    virtual bool IsArchiveFile(const std::string& path) const = 0;
    // OnConfirmProcessFile: false leaves the path out.
    virtual bool FireConfirmProcessFile(const std::string& fileName, TVXProcessOperation operation) = 0;

protected:
    ~TSelectionHost() = default;
};
