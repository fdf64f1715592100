#include "core/streams.h"

#include <windows.h>

#include <algorithm>

#include "core/file_faults.h"
#include "core/text.h"
#include "core/write_behind.h"

namespace {

DWORD ShareFlags(uint16_t mode) {
    // Compatibility mode has no meaning on Win32 files; like exclusive it admits nobody.
    switch (mode & 0x70) {
        case fmShareDenyWrite: return FILE_SHARE_READ;
        case fmShareDenyRead: return FILE_SHARE_WRITE;
        case fmShareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
        default: return 0;
    }
}

DWORD AccessFlags(uint16_t mode) {
    switch (mode & 3) {
        case fmOpenWrite: return GENERIC_WRITE;
        case fmOpenReadWrite: return GENERIC_READ | GENERIC_WRITE;
        default: return GENERIC_READ;
    }
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : fileName_(fileName) {
    HANDLE h;
    if (mode == fmCreate) {
        h = FileFault(TFileStep::Open, fileName)
                ? INVALID_HANDLE_VALUE
                : CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(), SysErrorMessage(error).c_str()),
                                error);
        }
    } else {
        h = FileFault(TFileStep::Open, fileName)
                ? INVALID_HANDLE_VALUE
                : CreateFileA(fileName.c_str(), AccessFlags(mode), ShareFlags(mode), nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), SysErrorMessage(error).c_str()),
                              error);
        }
    }
    handle_ = h;
}

TFileStream::~TFileStream() {
    behind_.reset();  // its thread flushes this handle
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    transferError_ = 0;
    int64_t total = 0;
    auto* p = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        DWORD want = static_cast<DWORD>(std::min<int64_t>(count, 1 << 30)), got = 0;
        if (FileFault(TFileStep::Read, fileName_) || !ReadFile(handle_, p + total, want, &got, nullptr)) {
            transferError_ = GetLastError();
            break;
        }
        if (got == 0) break;
        total += got;
        count -= got;
    }
    return total;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    transferError_ = 0;
    int64_t total = 0;
    auto* p = static_cast<const uint8_t*>(buffer);
    while (count > 0) {
        DWORD want = static_cast<DWORD>(std::min<int64_t>(count, 1 << 30)), put = 0;
        if (FileFault(TFileStep::Write, fileName_) || !WriteFile(handle_, p + total, want, &put, nullptr)) {
            transferError_ = GetLastError();
            break;
        }
        if (put == 0) break;
        total += put;
        count -= put;
    }
    if (behind_) behind_->Written(static_cast<uint64_t>(total));
    return total;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    LARGE_INTEGER dist, result;
    dist.QuadPart = offset;
    DWORD how = origin == TSeekOrigin::soBeginning ? FILE_BEGIN
                : origin == TSeekOrigin::soCurrent ? FILE_CURRENT
                                                    : FILE_END;
    if (!SetFilePointerEx(handle_, dist, &result, how)) return -1;
    return result.QuadPart;
}

int64_t TFileStream::Size() {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle_, &size)) return -1;
    return size.QuadPart;
}

void TFileStream::SetSize(int64_t newSize) {
    int64_t pos = Position();
    SetPosition(newSize);
    if (FileFault(TFileStep::Write, fileName_) || !SetEndOfFile(handle_))
        throw EWriteError("Stream write error", GetLastError());
    SetPosition(std::min(pos, newSize));
}

void TFileStream::Flush() {
    if (behind_) {
        // Every flush behind the writer is over before this one, which then covers the rest.
        const unsigned long failedBehind = behind_->Stop();
        behind_ = std::make_unique<TWriteBehind>(handle_);
        if (failedBehind != 0) throw EWriteError("Stream write error", failedBehind);
    }
    if (FileFault(TFileStep::Flush, fileName_) || !FlushFileBuffers(handle_))
        throw EWriteError("Stream write error", GetLastError());
}

void TFileStream::FlushBehind() {
    if (!behind_) behind_ = std::make_unique<TWriteBehind>(handle_);
}
