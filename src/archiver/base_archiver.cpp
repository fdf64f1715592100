#include "archiver/base_archiver.h"

#include "archiver/select/file_selection.h"
#include "archiver/select/masks_platform.h"
#include "archiver/write/archive_files.h"
#include "core/paths.h"
#include "core/text.h"

namespace {

uint8_t LevelToMode(TVXCompressionLevel level) {
    switch (level) {
        case clNone: return 0;
        case clFastest: return 1;
        case clNormal: return 6;
        case clMax: return 9;
    }
    return 1;
}

TVXCompressionLevel ModeToLevel(uint8_t mode) {
    if (mode == 0) return clNone;
    if (mode <= 3) return clFastest;
    if (mode <= 6) return clNormal;
    return clMax;
}

constexpr uint16_t kOpenProbeMode = fmOpenReadWrite | fmShareDenyWrite;  // $22
constexpr uint16_t kOpenReadOnlyMode = fmOpenRead | fmShareDenyNone;     // $40

// An archive open for writing is flushed behind the writer: a large one is then mostly on the
// disk by the time the caller flushes it.
std::unique_ptr<TFileStream> OpenArchiveFile(const std::string& fileName, uint16_t mode) {
    auto file = std::make_unique<TFileStream>(fileName, mode);
    if (mode == fmCreate || (mode & 3) != fmOpenRead) file->FlushBehind();
    return file;
}

}  // namespace

TVXBaseArchiver::TVXBaseArchiver(TComponent* owner)
    : TComponent(owner),
      options_(std::make_unique<TVXOptions>()),
      fileMasks_(std::make_unique<TStringList>()),
      exclusionMasks_(std::make_unique<TStringList>()),
      noCompressionMasks_(std::make_unique<TStringList>()) {
    SetCompressionLevel(clFastest);
}

TVXBaseArchiver::~TVXBaseArchiver() {
    DestroyComponents();
    if (active_) Close();
}

const TClassInfo& TVXBaseArchiver::StaticClass() {
    using A = TVXBaseArchiver;
    using P = Published<A>;
    static const TClassInfo info = MakeCreatableClassInfo<A, TComponent>("TVXBaseArchiver", {
        P::Enum("CompressionLevel", CompressionLevelInfo(), &A::CompressionLevel, &A::SetCompressionLevel),
        P::Int(
            "CompressionMode", [](A& a) { return static_cast<int64_t>(a.CompressionMode()); },
            [](A& a, int64_t v) { a.SetCompressionMode(v < 0 || v > 9 ? 10 : static_cast<int>(v)); }),
        P::Str("CurrentVersion", &A::CurrentVersion, &A::SetCurrentVersion),
        P::Str("Password", &A::Password, &A::SetPassword),
        P::Str("FileName", &A::FileName, &A::SetFileName),
        P::Str("BaseDir", &A::BaseDir, &A::SetBaseDir),
        P::Str("TempDir", &A::TempDir, &A::SetTempDir),
        P::Str("SFXStub", &A::SFXStub, &A::SetSFXStub),
        P::Object("Options", [](A& a) -> TPersistent* { return a.Options(); }),
        P::Object("FileMasks", [](A& a) -> TPersistent* { return a.FileMasks(); }),
        P::Object("ExclusionMasks", [](A& a) -> TPersistent* { return a.ExclusionMasks(); }),
        P::Object("NoCompressionMasks", [](A& a) -> TPersistent* { return a.NoCompressionMasks(); }),
        P::Bool("InMemory", &A::InMemory, &A::SetInMemory),
        P::Bool("Verify", &A::Verify, &A::SetVerify),
        P::Event("OnFileProgress", &A::OnFileProgress),
        P::Event("OnOverallProgress", &A::OnOverallProgress),
        P::Event("OnConfirmOverwrite", &A::OnConfirmOverwrite),
        P::Event("OnConfirmProcessFile", &A::OnConfirmProcessFile),
        P::Event("AfterOpen", &A::AfterOpen),
        P::Event("OnPassword", &A::OnPassword),
        P::Event("OnProcessFileFailure", &A::OnProcessFileFailure),
    });
    return info;
}

// ---- properties ------------------------------------------------------------------------------

void TVXBaseArchiver::SetCompressionLevel(TVXCompressionLevel level) {
    compressionLevel_ = level;
    compressionMode_ = LevelToMode(level);
    UpdateCompressionMethod();
}

void TVXBaseArchiver::SetCompressionMode(int mode) {
    if (mode < 0 || mode > 9) throw EVXException(vxerr::InvalidCompressionMode, nullptr);
    compressionMode_ = static_cast<uint8_t>(mode);
    compressionLevel_ = ModeToLevel(compressionMode_);
    UpdateCompressionMethod();
}

std::string TVXBaseArchiver::CurrentVersion() const {
    // Formatted with the C locale, so the separator is "." whatever the user's settings say.
    return Format("%.2f", 1.0) + " " + "Beta";
}

void TVXBaseArchiver::SetCurrentVersion(const std::string&) {}

void TVXBaseArchiver::UpdateCompressionMethod() { compressionMethod_ = 0xFFFF; }

uint16_t TVXBaseArchiver::ShareModeFlags() const {
    switch (options_->ShareMode()) {
        case smShareCompat: return fmShareCompat;
        case smShareExclusive: return fmShareExclusive;
        case smShareDenyWrite: return fmShareDenyWrite;
        case smShareDenyRead: return fmShareDenyRead;
        case smShareDenyNone: return fmShareDenyNone;
    }
    return fmShareCompat;
}

void TVXBaseArchiver::SetInMemory(bool v) {
    if (v == inMemory_) return;
    if (active_) {
        if (inMemory_) {
            if (fileName_.empty()) throw EVXException(vxerr::InMemoryOffWithoutName, this);
            {
                TFileStream file(fileName_, fmCreate);
                if (archiveStream_->Size() > 0) file.CopyFrom(*archiveStream_, 0);
            }
            Close();
            inMemory_ = false;
            OpenDefault();
        } else {
            Close();
            inMemory_ = true;
            OpenDefault();
        }
    }
    inMemory_ = v;
}

// ---- lifecycle -------------------------------------------------------------------------------

void TVXBaseArchiver::Open(uint16_t mode) {
    if (mode != fmCreate) {
        if (fileName_.empty()) throw EVXException(vxerr::OpenWithoutName, this);
        if (!IsExistingFile(fileName_)) throw EVXException(vxerr::ArchiveFileNotFound, fileName_, this);
        if (inMemory_) throw EVXException(vxerr::InMemoryCreateOnly, fileName_, this);
    }
    Close();
    openMode_ = mode;
    if (inMemory_)
        archiveStream_ = std::make_unique<TMemoryStream>();
    else
        archiveStream_ = OpenArchiveFile(fileName_, mode);
    try {
        dirManager_ = std::make_unique<TVXDirManager>(*archiveStream_, this);
    } catch (...) {
        // A damaged archive must not stay open behind a closed component.
        ReleaseArchive();
        throw;
    }
    active_ = true;
    if (AfterOpen) AfterOpen(this);
}

void TVXBaseArchiver::OpenDefault() {
    if (!inMemory_ && fileName_.empty()) throw EVXException(vxerr::OpenDefaultWithoutName, this);
    uint16_t mode;
    if (inMemory_ || !IsExistingFile(fileName_)) {
        mode = fmCreate;
    } else {
        try {
            TFileStream probe(fileName_, kOpenProbeMode);
            mode = kOpenProbeMode;
        } catch (const EStreamError&) {
            mode = kOpenReadOnlyMode;
        }
    }
    Open(mode);
}

void TVXBaseArchiver::Close() {
    if (!active_) return;
    try {
        CompleteEmptyArchive();
    } catch (...) {
        // Closing never fails; an archive that cannot take its empty directory stays empty.
    }
    active_ = false;
    ReleaseArchive();
}

void TVXBaseArchiver::CompleteEmptyArchive() {
    if (archiveStream_->Size() != 0) return;
    // Items of an unfinished batch have no data in the archive.
    if (updateCount_ > 0) dirManager_->Items.Assign(dirManager_->Snapshot);
    dirManager_->WriteCentralDirectory();
}

void TVXBaseArchiver::Flush() {
    CheckOpen();
    // What goes to the disk is the archive as Close would leave it.
    CompleteEmptyArchive();
    archiveStream_->Flush();
}

void TVXBaseArchiver::ReleaseArchive() {
    dirManager_.reset();
    archiveStream_.reset();
}

void TVXBaseArchiver::SetActive(bool v) {
    if (v == active_) return;
    if (v)
        OpenDefault();
    else
        Close();
}

void TVXBaseArchiver::CheckOpen() const {
    if (!active_) throw EVXException(vxerr::ArchiveNotOpen, this);
}

// ---- update batch ----------------------------------------------------------------------------

void TVXBaseArchiver::BeginUpdate() {
    if (updateCount_ == 0) {
        SetActive(true);
        TVXDirArray& items = dirManager_->Items;
        for (int i = 0; i < items.Count(); ++i) items.ItemPtr(i)->Pending = 0;
        dirManager_->Snapshot.Assign(items);
    }
    ++updateCount_;
}

void TVXBaseArchiver::EndUpdate() {
    if (updateCount_ <= 0) return;
    if (updateCount_ == 1)
        CommitUpdate();
    else
        --updateCount_;
}

void TVXBaseArchiver::CommitUpdate() {
    if (updateCount_ <= 0) return;
    updateCount_ = 0;
    // Closing inside a batch ended it without a commit.
    if (!dirManager_) return;
    TWriteHost& host = *this;
    TVXCommit(*dirManager_, *archiveStream_, host, this).Run();
}

void TVXBaseArchiver::CancelUpdate() {
    if (updateCount_ <= 0) return;
    updateCount_ = 0;
    // Items the abandoned batch added have no data in the archive: back to the Snapshot.
    if (dirManager_) dirManager_->Items.Assign(dirManager_->Snapshot);
}

void TVXBaseArchiver::AddMatchingFiles(const std::string& fileMask, uint16_t searchAttr,
                                       const std::string& exclusionMask) {
    CheckOpen();
    TStringList masks;
    masks.Add(fileMask);
    TStringList exclusions;
    exclusions.Add(exclusionMask);
    BeginUpdate();
    try {
        AddFilesInternal(masks, searchAttr, poAdd, exclusions);
        EndUpdate();
    } catch (...) {
        CancelUpdate();
        throw;
    }
}

void TVXBaseArchiver::AddFilesInternal(const TStringList& fileMasks, uint16_t searchAttr, TVXProcessOperation operation,
                                       const TStringList& exclusionMasks) {
    SelectFiles(*this, fileMasks, searchAttr, operation, exclusionMasks, dirManager_->Items);
}

std::string TVXBaseArchiver::MakeTempFileName() {
    std::string folder = tempDir_.empty() ? SystemTempFolder() : tempDir_;
    return CreateUniqueTempFile(folder, "FC");
}

TWriteSettings TVXBaseArchiver::WriteSettings() const {
    TWriteSettings settings;
    settings.DataStepOn = dataStepOn_;
    settings.ShareModeFlags = ShareModeFlags();
    settings.Workers = deflateWorkers_;
    settings.Verify = verify_;
    settings.BeforeVerify = BeforeVerify;
    return settings;
}

// ---- events ----------------------------------------------------------------------------------

void TVXBaseArchiver::FireFileProgress(const std::string& fileName, double progress, TVXProcessOperation operation,
                                       TVXProgressPhase phase) {
    if (OnFileProgress)
        OnFileProgress(this, fileName, progress, operation, phase, progress_.Cancel);
    else
        progress_.Cancel = false;
}

void TVXBaseArchiver::FireOverallProgress(double progress, TVXProcessOperation operation, TVXProgressPhase phase) {
    if (OnOverallProgress)
        OnOverallProgress(this, progress, operation, phase, progress_.Cancel);
    else
        progress_.Cancel = false;
}

bool TVXBaseArchiver::FireConfirmProcessFile(const std::string& fileName, TVXProcessOperation operation) {
    bool confirm = true;
    if (OnConfirmProcessFile) OnConfirmProcessFile(this, fileName, operation, confirm);
    return confirm;
}

bool TVXBaseArchiver::IsArchiveFile(const std::string& path) const {
    if (!active_ || inMemory_) return false;
    // Spelled as the walk spells its paths; the file system ignores letter case.
    return SameTextIgnoringCase(FullPathName(fileName_), path);
}

bool TVXBaseArchiver::FireProcessFileFailure(const std::string& fileName, TVXProcessOperation operation,
                                             const EVXException& e) {
    if (!OnProcessFileFailure) return false;
    OnProcessFileFailure(this, fileName, operation, e.NativeError, e.ErrorCode, e.Message());
    return true;
}
