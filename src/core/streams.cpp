#include "core/streams.h"

#include <algorithm>
#include <cstring>
#include <memory>

int64_t TStream::Size() {
    int64_t pos = Seek(0, TSeekOrigin::soCurrent);
    int64_t end = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error", TransferError());
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error", TransferError());
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    constexpr int64_t kBuffer = 1 << 20;
    std::unique_ptr<uint8_t[]> buf(new uint8_t[static_cast<size_t>(std::min(count, kBuffer) + 1)]);
    int64_t left = count;
    while (left > 0) {
        int64_t n = std::min(left, kBuffer);
        source.ReadBuffer(buf.get(), n);
        WriteBuffer(buf.get(), n);
        left -= n;
    }
    return count;
}

// ---- memory stream --------------------------------------------------------------------------

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    int64_t n = std::max<int64_t>(0, std::min<int64_t>(count, Size() - pos_));
    if (n > 0) std::memcpy(buffer, data_.data() + pos_, static_cast<size_t>(n));
    pos_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    if (pos_ + count > Size()) data_.resize(static_cast<size_t>(pos_ + count));
    std::memcpy(data_.data() + pos_, buffer, static_cast<size_t>(count));
    pos_ += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? pos_ : Size();
    pos_ = std::max<int64_t>(0, base + offset);
    return pos_;
}

void TMemoryStream::SetSize(int64_t newSize) {
    data_.resize(static_cast<size_t>(newSize));
    if (pos_ > newSize) pos_ = newSize;
}

