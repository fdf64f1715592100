#include "core/file_copy.h"

#include <windows.h>

#include <memory>

#include "core/file_faults.h"
#include "core/move_over.h"
#include "core/text.h"
#include "core/write_behind.h"

namespace {

// Large enough that a gigabyte moves in a thousand steps, small enough to stop promptly.
constexpr DWORD kBufferSize = 1 << 20;

class THandle {
public:
    explicit THandle(HANDLE h) : h_(h) {}
    ~THandle() { Close(); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    void Close() {
        if (Valid()) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

// Removes the unfinished copy on every way out but the one that put it in place. Declared before
// the handle of that file, so that the handle is closed first.
class TUnfinishedFile {
public:
    explicit TUnfinishedFile(std::string path) : path_(std::move(path)) {}
    ~TUnfinishedFile() {
        if (!path_.empty()) RemoveFile(path_);
    }
    TUnfinishedFile(const TUnfinishedFile&) = delete;
    TUnfinishedFile& operator=(const TUnfinishedFile&) = delete;
    void Finished() { path_.clear(); }

private:
    std::string path_;
};

[[noreturn]] void Fail(bool source, const std::string& path, DWORD code) {
    throw EFileCopyError(Format("%s: %s", path.c_str(), SysErrorMessage(code).c_str()), code, source, path);
}

}  // namespace

std::string CopyTemporaryName(const std::string& destination) { return destination + ".tmp"; }

void CopyFileDenyingWriters(const std::string& source, const std::string& destination, const TCopyProgress& progress) {
    THandle in(FileFault(TFileStep::Open, source)
                   ? INVALID_HANDLE_VALUE
                   : CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.Valid()) Fail(true, source, GetLastError());
    LARGE_INTEGER size;
    FILETIME written;
    if (!GetFileSizeEx(in.Get(), &size) || !GetFileTime(in.Get(), nullptr, nullptr, &written))
        Fail(true, source, GetLastError());
    const uint64_t total = static_cast<uint64_t>(size.QuadPart);

    const std::string temporary = CopyTemporaryName(destination);
    TUnfinishedFile unfinished(temporary);
    THandle out(FileFault(TFileStep::Open, temporary)
                    ? INVALID_HANDLE_VALUE
                    : CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!out.Valid()) Fail(false, destination, GetLastError());

    // Declared after the handle it flushes: stopped before that is closed, on every way out.
    TWriteBehind behind(out.Get());
    std::unique_ptr<char[]> buffer(new char[kBufferSize]);
    uint64_t done = 0;
    if (progress) progress(0, total);
    for (;;) {
        DWORD got = 0;
        if (FileFault(TFileStep::Read, source) || !ReadFile(in.Get(), buffer.get(), kBufferSize, &got, nullptr))
            Fail(true, source, GetLastError());
        if (got == 0) break;
        DWORD put = 0;
        if (FileFault(TFileStep::Write, temporary) || !WriteFile(out.Get(), buffer.get(), got, &put, nullptr))
            Fail(false, destination, GetLastError());
        if (put != got) Fail(false, destination, ERROR_DISK_FULL);
        behind.Written(got);
        done += got;
        if (progress) progress(done, total);
    }
    // The source is free for its writers again as soon as its bytes are read.
    in.Close();

    if (const unsigned long failedBehind = behind.Stop()) Fail(false, destination, failedBehind);
    if (FileFault(TFileStep::Flush, temporary) || !SetFileTime(out.Get(), nullptr, nullptr, &written) ||
        !FlushFileBuffers(out.Get()))
        Fail(false, destination, GetLastError());
    out.Close();
    if (unsigned long refused = MoveOver(temporary, destination)) Fail(false, destination, refused);
    unfinished.Finished();
}
