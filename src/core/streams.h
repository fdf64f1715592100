#pragma once
// Byte streams: the archive, its temporary tail copy and every source file go through these.
// Positions and sizes are 64-bit everywhere; only ZIP header fields are narrower.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/exceptions.h"

class TWriteBehind;

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// File-open modes: access in the low bits, sharing in bits 4-6, $FFFF creates.
constexpr uint16_t fmCreate = 0xFFFF;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

class TStream {
public:
    virtual ~TStream() = default;
    // Read and Write move up to count bytes and return how many moved.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t Size();
    // Grows or cuts the stream; the position is kept unless it lies beyond the new end.
    virtual void SetSize(int64_t newSize) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }

    // All-or-nothing forms: "Stream read error" / "Stream write error" on a short transfer.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies count bytes from source's position; count 0 copies the whole source from its start.
    int64_t CopyFrom(TStream& source, int64_t count);
    // Makes the stream's data durable (a no-op for memory).
    virtual void Flush() {}

protected:
    // The system's error number of the last Read or Write that moved less than asked (0 when
    // the system did not refuse: the end of the data, a memory stream).
    virtual unsigned long TransferError() const { return 0; }
};

class TFileStream : public TStream {
public:
    // Opens (or with fmCreate creates/empties) the file. Raises EFCreateError or EFOpenError
    // with the system's reason.
    TFileStream(const std::string& fileName, uint16_t mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override;
    void SetSize(int64_t newSize) override;
    void Flush() override;  // FlushFileBuffers: the data are on the disk when it returns

    // From now on what is written is flushed behind the writer (TWriteBehind), so that the
    // final Flush of a large file finds little left to do. Only for a file open for writing.
    void FlushBehind();

    const std::string& FileName() const { return fileName_; }
    void* Handle() const { return handle_; }

protected:
    unsigned long TransferError() const override { return transferError_; }

private:
    std::string fileName_;
    void* handle_;
    unsigned long transferError_ = 0;
    std::unique_ptr<TWriteBehind> behind_;
};

class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(data_.size()); }
    void SetSize(int64_t newSize) override;
    void Clear() { data_.clear(); pos_ = 0; }
    const std::vector<uint8_t>& Data() const { return data_; }

private:
    std::vector<uint8_t> data_;
    int64_t pos_ = 0;
};
