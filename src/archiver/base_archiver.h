#pragma once
// The archiver component: one ZIP archive open at a time, changes collected in an update batch
// and written into the archive (file or memory) when the outermost batch ends.
//
// A backup passes the stages in this order: AddMatchingFiles opens a batch and lets the file
// selection (select/) append a pending item per matching file; EndUpdate runs the commit
// (write/), which cuts the archive, has the entry writer write each new entry with its data
// from the data step (deflate/), copies unchanged entries back and has the directory manager
// write the central directory; with Verify on, the commit then has verify/ read it all back
// (its contract is in verify/written_archive.h); the records themselves are encoded by zip/. The
// stages read the component's settings and fire its events through TSelectionHost and
// TWriteHost, which the component implements privately: nothing else calls those members.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archiver/errors.h"
#include "archiver/options.h"
#include "archiver/select/selection_host.h"
#include "archiver/types.h"
#include "archiver/write/commit.h"
#include "archiver/write/dir_manager.h"
#include "archiver/write/write_host.h"
#include "core/component.h"
#include "core/persistent.h"
#include "core/streams.h"

class TVXBaseArchiver : public TComponent, private TSelectionHost, private TWriteHost {
public:
    explicit TVXBaseArchiver(TComponent* owner);
    ~TVXBaseArchiver() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // ---- published properties ---------------------------------------------------------------
    TVXCompressionLevel CompressionLevel() const { return compressionLevel_; }
    void SetCompressionLevel(TVXCompressionLevel level);
    uint8_t CompressionMode() const override { return compressionMode_; }
    void SetCompressionMode(int mode);  // code 5 above 9 (or below 0)
    std::string CurrentVersion() const;
    void SetCurrentVersion(const std::string& ignored);
    const std::string& Password() const override { return password_; }
    void SetPassword(const std::string& v) { password_ = v; }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& v) { fileName_ = v; }
    const std::string& BaseDir() const override { return baseDir_; }
    void SetBaseDir(const std::string& v) { baseDir_ = v; }
    const std::string& TempDir() const { return tempDir_; }
    void SetTempDir(const std::string& v) { tempDir_ = v; }
    TVXOptions* Options() const override { return options_.get(); }
    TStringList* NoCompressionMasks() const override { return noCompressionMasks_.get(); }
    // Held only (kept for form descriptions; nothing in this program reads them): the adding
    // operation takes its masks as arguments, and no self-extracting archive is made.
    const std::string& SFXStub() const { return sfxStub_; }
    void SetSFXStub(const std::string& v) { sfxStub_ = v; }
    TStringList* FileMasks() const { return fileMasks_.get(); }
    TStringList* ExclusionMasks() const { return exclusionMasks_.get(); }
    bool InMemory() const { return inMemory_; }
    void SetInMemory(bool v);
    // On: every commit reads back what it wrote before it completes (verify/written_archive.h).
    bool Verify() const { return verify_; }
    void SetVerify(bool v) { verify_ = v; }
    // Not published (the dialog leaves it): threads that deflate the chunks of one entry; 0, the
    // initial value, means one per processor.
    unsigned DeflateWorkers() const { return deflateWorkers_; }
    void SetDeflateWorkers(unsigned n) { deflateWorkers_ = n; }

    TVXFileProgressEvent OnFileProgress;
    TVXProgressEvent OnOverallProgress;
    TVXConfirmProcessFileEvent OnConfirmProcessFile;
    TNotifyEvent AfterOpen;
    TVXProcessFileFailureEvent OnProcessFileFailure;
    // Held only (kept for form descriptions; nothing in this program fires them): nothing is
    // extracted over an existing file, and passwords are set, not asked for.
    TVXConfirmOverwriteEvent OnConfirmOverwrite;
    TVXOnPasswordEvent OnPassword;
    // Test seam: called with the archive stream when a commit has written everything and the
    // verification has read nothing yet.
    std::function<void(TStream& Archive)> BeforeVerify;

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
    void UpdateCompressionMethod() override;
    std::string MakeTempFileName() override;

    uint16_t CompressionMethod() const override { return compressionMethod_; }
    uint16_t OpenMode() const { return openMode_; }
    int UpdateCount() const { return updateCount_; }
    // Sharing value of the open mode for source files, from Options.ShareMode.
    uint16_t ShareModeFlags() const;
    // Off in the bare base archiver: its entries get headers but no data.
    bool DataStepOn() const { return dataStepOn_; }
    // The open archive's directory and stream; null while closed.
    TVXDirManager* Directory() const { return dirManager_.get(); }
    TStream* ArchiveStream() const { return archiveStream_.get(); }

protected:
    void SwitchDataStepOn() { dataStepOn_ = true; }
    void SetCompressionMethod(uint16_t method) { compressionMethod_ = method; }
    // The file selection for one batch: appends the pending items of the matching files.
    void AddFilesInternal(const TStringList& fileMasks, uint16_t searchAttr, TVXProcessOperation operation,
                          const TStringList& exclusionMasks);

private:
    // ---- what the stages reach through TSelectionHost and TWriteHost ---------------------------
    TWriteSettings WriteSettings() const override;
    TProgressState& Progress() override { return progress_; }
    // Event firing; Cancel is the archiver's own flag (progress_.Cancel).
    void FireFileProgress(const std::string& fileName, double progress, TVXProcessOperation operation,
                          TVXProgressPhase phase) override;
    void FireOverallProgress(double progress, TVXProcessOperation operation, TVXProgressPhase phase) override;
    bool FireConfirmProcessFile(const std::string& fileName, TVXProcessOperation operation) override;
    bool IsArchiveFile(const std::string& path) const override;
    // Reports an archiver error for one item; false (nothing fired) when no handler is assigned.
    bool FireProcessFileFailure(const std::string& fileName, TVXProcessOperation operation,
                                const EVXException& e) override;

    void CommitUpdate();
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
    bool verify_ = false;
    unsigned deflateWorkers_ = 0;
    TProgressState progress_;
    uint16_t compressionMethod_ = 0xFFFF;
    uint8_t compressionMode_ = 0;
    TVXCompressionLevel compressionLevel_ = clNone;
    std::unique_ptr<TStream> archiveStream_;
};
