// Appends over the archives of other writers on a disk that fails: the commit appends new
// entries (as vorbex.exe -u does) to the archive the input carries, while the stream under it
// refuses a write, a flush or a cut at the step the input chooses, once or from then on (a
// drive that is gone). Afterwards, and in the file as it stood before every change the commit
// made (what a power cut at that moment leaves), the archive must open with its old entries,
// or, only once the commit has succeeded, with the old and the new ones; never anything else.
//
// Input: byte 0 the fault (bits 0-1: 0 write, 1 flush, 2 cut, 3 none; bit 2: it stays), bytes
// 1-2 the step at which it comes (little-endian, counting every change), byte 3 the number of
// new entries less one (low two bits) and their size in 2 KiB (the rest), then the archive.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "archiver/errors.h"
#include "archiver/write/commit.h"
#include "archiver/write/dir_manager.h"
#include "archiver/zip/entry_codec.h"
#include "archiver/zip/records.h"
#include "core/streams.h"

namespace {

enum class TChange { Write, Flush, Cut };

// An archive in memory whose change number FailAt (of the kind chosen) fails, and with Stays
// every change after it; the bytes before every change are kept.
class TFailingStream : public TStream {
public:
    TFailingStream(const uint8_t* data, size_t size) {
        bytes_.WriteBuffer(data, static_cast<int64_t>(size));
        bytes_.SetPosition(0);
    }

    int64_t Read(void* buffer, int64_t count) override { return bytes_.Read(buffer, count); }
    int64_t Write(const void* buffer, int64_t count) override {
        if (!Allowed(TChange::Write)) return 0;
        return bytes_.Write(buffer, count);
    }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override { return bytes_.Seek(offset, origin); }
    void SetSize(int64_t newSize) override {
        if (!Allowed(TChange::Cut)) throw EWriteError("Stream write error", 5);
        bytes_.SetSize(newSize);
    }
    void Flush() override {
        if (!Allowed(TChange::Flush)) throw EWriteError("Stream write error", 5);
    }

    const std::vector<uint8_t>& Bytes() const { return bytes_.Data(); }

    bool Armed = false;
    TChange Kind = TChange::Write;
    bool None = true;
    bool Stays = false;
    int FailAt = 0;
    std::vector<std::vector<uint8_t>> Before;

private:
    bool Allowed(TChange change) {
        if (!Armed) return true;
        Before.push_back(bytes_.Data());
        const int n = changes_++;
        if (failed_ && Stays) return false;
        if (None || change != Kind || n < FailAt || failed_) return true;
        failed_ = true;
        return false;
    }

    TMemoryStream bytes_;
    int changes_ = 0;
    bool failed_ = false;
};

// The host of a commit that reports nothing and reads nothing back, as vorbex.exe -n runs it.
class TQuietHost : public TWriteHost {
public:
    TProgressState& Progress() override { return progress_; }
    TWriteSettings WriteSettings() const override {
        TWriteSettings settings;
        settings.DataStepOn = true;
        settings.ShareModeFlags = fmShareDenyNone;
        settings.Workers = 1;
        return settings;
    }
    void UpdateCompressionMethod() override {}
    // An append never keeps a tail: asking for a temporary file is a fault of its own.
    std::string MakeTempFileName() override { abort(); }
    void FireFileProgress(const std::string&, double, TVXProcessOperation, TVXProgressPhase) override {}
    void FireOverallProgress(double, TVXProcessOperation, TVXProgressPhase) override {}
    bool FireProcessFileFailure(const std::string&, TVXProcessOperation, const EVXException&) override { return false; }

private:
    TProgressState progress_;
};

// The names the bytes open with; false when they do not open.
bool NamesIn(const std::vector<uint8_t>& bytes, std::vector<std::string>& names) {
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    names.clear();
    try {
        TVXDirManager d(s, nullptr);
        for (int i = 0; i < d.Items.Count(); ++i) names.push_back(WrittenName(*d.Items.ItemPtr(i)));
    } catch (const EVXException&) {
        return false;
    } catch (const EStreamError&) {
        return false;
    }
    return true;
}

// A pending item whose data are length bytes of the input over and over, in a stream the caller
// keeps (an item owns its stream only until it is written, and a failed commit writes not all).
void Append(TVXDirArray& items, const std::string& name, TMemoryStream& source, const uint8_t* data, size_t size,
            size_t length) {
    items.SetCount(items.Count() + 1);
    TDirItem& item = *items.ItemPtr(items.Count() - 1);
    item.StoredName = name;
    item.Pending = 1;
    item.EntryCompressionMode = 1;
    item.Method = 8;
    item.VersionMadeBy = item.VersionNeeded = kVersionDefault;
    for (size_t written = 0; written < length;) {
        const size_t n = std::min(length - written, size);
        source.WriteBuffer(data, static_cast<int64_t>(n));
        written += n;
    }
    item.SourceStream = &source;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    TFailingStream archive(data + 4, size - 4);
    std::vector<std::string> oldNames;
    if (!NamesIn(archive.Bytes(), oldNames)) return 0;  // refused as damaged: nothing to append to
    try {
        TVXDirManager dir(archive, nullptr);
        const int entries = 1 + (data[3] & 3);
        std::vector<std::string> newNames = oldNames;
        std::vector<TMemoryStream> sources(entries);
        for (int i = 0; i < entries; ++i) {
            // Up to 126 KiB of the input over and over: more than the 64 KiB in which readers
            // look for the end record.
            const size_t length = static_cast<size_t>(data[3] >> 2) * 2048 * (i + 1) / entries;
            newNames.push_back("new" + std::to_string(i) + ".bin");
            Append(dir.Items, newNames.back(), sources[i], data, size, length);
        }
        archive.None = (data[0] & 3) == 3;
        archive.Kind = static_cast<TChange>(data[0] & 3);
        archive.Stays = (data[0] & 4) != 0;
        archive.FailAt = data[1] | (data[2] << 8);
        archive.Armed = true;
        TQuietHost host;
        bool done = true;
        try {
            TVXCommit(dir, archive, host, nullptr).Run();
        } catch (const EStreamError&) {
            done = false;
        } catch (const EVXException& e) {
            const std::vector<uint8_t> original(data + 4, data + size);
            // Bytes without a directory that can be appended to are refused before the first
            // change.
            if (e.NativeError == vxerr::DamagedArchive && archive.Before.empty() && archive.Bytes() == original)
                return 0;
            // A rollback that failed too: only a fault that stays can make it fail.
            if (e.NativeError != vxerr::RollbackFailed || !archive.Stays) abort();
            done = false;
        }
        std::vector<std::string> names;
        for (const std::vector<uint8_t>& before : archive.Before)
            if (!NamesIn(before, names) || (names != oldNames && names != newNames)) abort();
        if (!NamesIn(archive.Bytes(), names)) abort();
        if (done ? names != newNames : names != oldNames && (!archive.Stays || names != newNames)) abort();
        // A fault that came once is undone: the old bytes are back.
        if (!done && !archive.Stays && archive.Bytes() != std::vector<uint8_t>(data + 4, data + size)) abort();
    } catch (const EVXException&) {
        return 0;
    } catch (const EStreamError&) {
        return 0;
    }
    return 0;
}
