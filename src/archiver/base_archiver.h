#pragma once
// The archiver component: one ZIP archive open at a time, changes collected in an update batch
// and written into the archive (file or memory) by the commit when the outermost batch ends.
//
// Work shared with the file-selection and data-step code (adding_files.cpp, compression):
//  - AddFilesInternal and WriteNewEntry are members declared here and defined in
//    adding_files.cpp. WriteNewEntry writes item i's local header at the archive stream's
//    position, records that position with SetItemLocalHeaderOffset (records.h), lets the data
//    step fill CRC and sizes (SetItemCompressedSize / SetItemUncompressedSize keep ZIP64 values
//    whole) and leaves the stream at its end.
//  - The state they read or change is reached through the public "engine state" section:
//    Directory(), ArchiveStream(), DataStepOn(), Progress() (items done/to do, Cancel,
//    progress on, current bytes), and the Fire... helpers, which apply the rules for unassigned
//    handlers.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archiver/errors.h"
#include "archiver/options.h"
#include "archiver/types.h"
#include "archiver/write/dir_manager.h"
#include "toolkit/component.h"
#include "toolkit/persistent.h"
#include "toolkit/streams.h"

class TVXBaseArchiver : public TComponent {
public:
    explicit TVXBaseArchiver(TComponent* owner);
    ~TVXBaseArchiver() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // ---- published properties ---------------------------------------------------------------
    TVXCompressionLevel CompressionLevel() const { return compressionLevel_; }
    void SetCompressionLevel(TVXCompressionLevel level);
    uint8_t CompressionMode() const { return compressionMode_; }
    void SetCompressionMode(int mode);  // code 5 above 9 (or below 0)
    std::string CurrentVersion() const;
    void SetCurrentVersion(const std::string& ignored);
    const std::string& Password() const { return password_; }
    void SetPassword(const std::string& v) { password_ = v; }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& v) { fileName_ = v; }
    const std::string& BaseDir() const { return baseDir_; }
    void SetBaseDir(const std::string& v) { baseDir_ = v; }
    const std::string& TempDir() const { return tempDir_; }
    void SetTempDir(const std::string& v) { tempDir_ = v; }
    const std::string& SFXStub() const { return sfxStub_; }
    void SetSFXStub(const std::string& v) { sfxStub_ = v; }
    TVXOptions* Options() const { return options_.get(); }
    TStringList* FileMasks() const { return fileMasks_.get(); }
    TStringList* ExclusionMasks() const { return exclusionMasks_.get(); }
    TStringList* NoCompressionMasks() const { return noCompressionMasks_.get(); }
    bool InMemory() const { return inMemory_; }
    void SetInMemory(bool v);

    TVXFileProgressEvent OnFileProgress;
    TVXProgressEvent OnOverallProgress;
    TVXConfirmOverwriteEvent OnConfirmOverwrite;
    TVXConfirmProcessFileEvent OnConfirmProcessFile;
    TNotifyEvent AfterOpen;
    TVXOnPasswordEvent OnPassword;
    TVXProcessFileFailureEvent OnProcessFileFailure;

    // ---- operations ---------------------------------------------------------------------------
    void Open(uint16_t mode);
    void OpenDefault();
    void Close();
    // Puts the archive, as Close would leave it, onto the disk; raises when the system cannot,
    // so that a caller reports success only for an archive that survives a power cut.
    void Flush();
    bool Active() const { return active_; }
    void SetActive(bool v);
    void CheckOpen() const;
    void AddMatchingFiles(const std::string& fileMask, uint16_t searchAttr, const std::string& exclusionMask);
    void BeginUpdate();
    void EndUpdate();
    // Ends the batch without writing; the directory returns to the Snapshot.
    void CancelUpdate();
    virtual void UpdateCompressionMethod();
    std::string MakeTempFileName();

    uint16_t CompressionMethod() const { return compressionMethod_; }
    uint16_t OpenMode() const { return openMode_; }
    int UpdateCount() const { return updateCount_; }
    // Sharing value of the open mode for source files, from Options.ShareMode.
    uint16_t ShareModeFlags() const;

    // ---- engine state for the selection, the per-entry step and the data step ----------------
    struct TProgressState {
        int32_t ItemsDone = 0;   // pending items finished in the current commit
        int32_t ItemsToDo = 0;   // pending items counted at its start
        bool Cancel = false;     // set by a progress handler: stops the commit
        bool ProgressOn = false;
        long double CurrentBytesDone = 0;
        long double CurrentBytesTotal = 0;
    };
    TProgressState& Progress() { return progress_; }
    bool DataStepOn() const { return dataStepOn_; }
    // The open archive's directory and stream; null while closed.
    TVXDirManager* Directory() const { return dirManager_.get(); }
    TStream* ArchiveStream() const { return archiveStream_.get(); }

    // Event firing; Cancel is the archiver's own flag (Progress().Cancel).
    void FireFileProgress(const std::string& fileName, double progress, TVXProcessOperation operation,
                          TVXProgressPhase phase);
    void FireOverallProgress(double progress, TVXProcessOperation operation, TVXProgressPhase phase);
    bool FireConfirmProcessFile(const std::string& fileName, TVXProcessOperation operation);  // Confirm
    // Reports an archiver error for one item; false (nothing fired) when no handler is assigned.
    bool FireProcessFileFailure(const std::string& fileName, TVXProcessOperation operation, const EVXException& e);

    // Called by the per-entry step for a pending item it gives up on (a failure reported through
    // OnProcessFileFailure, or data that could not be written whole): the commit then leaves the
    // item out of the directory it writes, so no central header points at missing data.
    void DiscardEntry(int index);

    // Defined in adding_files.cpp.
    void AddFilesInternal(const TStringList& fileMasks, uint16_t searchAttr, TVXProcessOperation operation,
                          const TStringList& exclusionMasks);
    void WriteNewEntry(int index);

protected:
    void SwitchDataStepOn() { dataStepOn_ = true; }
    void SetCompressionMethod(uint16_t method) { compressionMethod_ = method; }

private:
    // The commit's own state for the time it runs.
    struct TCommitRun {
        int firstChange = 0;
        int firstPending = -1;
        int64_t cutPosition = 0;
        int64_t savedStartOffset = 0;
        std::string tempName;
        std::unique_ptr<TFileStream> temp;
        std::vector<int> discarded;  // ascending item indexes
        bool cut = false;            // the archive stream has been cut at cutPosition
    };

    void CommitUpdate();
    int FindFirstChange() const;
    void CopyTailToTemp(int index);
    void CopyEntry(int index);
    void DeleteTemp();
    void RestoreFromTemp();
    void Rollback();
    void FinishMoves();
    TVXProcessOperation ReportedOperation() const;
    void ReleaseArchive();
    // An archive with nothing written yet gets its empty directory, so that it is a valid ZIP.
    void CompleteEmptyArchive();

    std::unique_ptr<TVXDirManager> dirManager_;
    int updateCount_ = 0;
    bool active_ = false;
    bool dataStepOn_ = false;
    std::string fileName_;
    uint16_t openMode_ = 0;
    std::string tempDir_, baseDir_, password_, sfxStub_;
    std::unique_ptr<TVXOptions> options_;
    std::unique_ptr<TStringList> fileMasks_, exclusionMasks_, noCompressionMasks_;
    bool inMemory_ = false;
    TProgressState progress_;
    uint16_t compressionMethod_ = 0xFFFF;
    uint8_t compressionMode_ = 0;
    TVXCompressionLevel compressionLevel_ = clNone;
    std::unique_ptr<TStream> archiveStream_;
    TCommitRun commit_;
};
