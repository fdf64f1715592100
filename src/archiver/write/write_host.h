#pragma once
// What the commit and the entry writer ask of the component that runs them: its reports to the
// handlers, the settings an entry is written with, and the progress both keep.
#include <cstdint>
#include <string>

#include "archiver/errors.h"
#include "archiver/types.h"

class TVXDirManager;

struct TProgressState {
    int32_t ItemsDone = 0;   // pending items finished in the current commit
    int32_t ItemsToDo = 0;   // pending items counted at its start
    bool Cancel = false;     // set by a progress handler: stops the commit
    bool ProgressOn = false;
    long double CurrentBytesDone = 0;
    long double CurrentBytesTotal = 0;
};

class TWriteHost {
public:
    virtual TProgressState& Progress() = 0;
    // Off in the bare base archiver: entries get their headers but no data.
    virtual bool DataStepOn() const = 0;
    // Sharing value of the open mode for source files.
    virtual uint16_t ShareModeFlags() const = 0;
    // Threads that deflate the chunks of one entry; 0: one per processor.
    virtual unsigned DeflateWorkers() const = 0;
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
    // Reads back what the commit wrote (the items from firstWritten on and the directory) while
    // the commit can still roll back; false when a handler stopped it (Cancel is then set).
    // Raises when the archive does not hold what was meant.
    virtual bool VerifyCommit(TVXDirManager& dir, int firstWritten) = 0;

protected:
    ~TWriteHost() = default;
};
