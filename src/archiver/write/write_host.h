#pragma once
// What the commit and the entry writer ask of the component that runs them: the settings it
// writes with, its reports to the handlers, the temporary file and the progress both keep.
#include <cstdint>
#include <functional>
#include <string>

#include "archiver/common.h"

class TStream;

struct TProgressState {
    int32_t ItemsDone = 0;   // pending items finished in the current commit
    int32_t ItemsToDo = 0;   // pending items counted at its start
    bool Cancel = false;     // set by a progress handler: stops the commit
    bool ProgressOn = false;
    long double CurrentBytesDone = 0;
    long double CurrentBytesTotal = 0;
};

// The component's settings as the writing reads them; asked for again at every entry and at the
// reading back, so that a handler may change them for what follows.
struct TWriteSettings {
    // Off in the bare base archiver: entries get their headers but no data.
    bool DataStepOn = false;
    // Sharing value of the open mode for source files.
    uint16_t ShareModeFlags = 0;
    // Threads that deflate the chunks of one entry, and that read them back; 0: one per processor.
    unsigned Workers = 0;
    // On: the commit reads back what it wrote while it can still roll back (verify/).
    bool Verify = false;
    // Called with the archive stream once everything is written and nothing read back yet.
    std::function<void(TStream& archive)> BeforeVerify;
};

class TWriteHost {
public:
    virtual TWriteSettings WriteSettings() const = 0;
    virtual TProgressState& Progress() = 0;
    virtual void UpdateCompressionMethod() = 0;
    // A new, empty temporary file for the archive's tail.
    virtual std::string MakeTempFileName() = 0;

    // Reports; Cancel is the progress state's flag.
    virtual void FireFileProgress(const std::string& fileName, double progress, TVXProcessOperation operation,
                                  TVXProgressPhase phase) = 0;
    virtual void FireOverallProgress(double progress, TVXProcessOperation operation, TVXProgressPhase phase) = 0;
    // False (nothing fired) when no handler is assigned.
    virtual bool FireProcessFileFailure(const std::string& fileName, TVXProcessOperation operation,
                                        const EVXException& e) = 0;

protected:
    ~TWriteHost() = default;
};
