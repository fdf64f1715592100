#include "archiver/verify/entry_data_check.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archiver/deflate/chunk_deflater.h"
#include "archiver/deflate/crc32.h"
#include "archiver/deflate/ordered_pool.h"
#include "archiver/deflate/zip_crypto.h"
#include "archiver/select/source_files.h"
#include "archiver/verify/raw_inflater.h"
#include "archiver/verify/verify_run.h"
#include "archiver/zip/dir_item.h"
#include "archiver/zip/records.h"
#include "core/streams.h"
#include "core/text.h"

namespace {

// Bytes read back at a time from the front of an entry.
constexpr size_t kPieceSize = 1 << 20;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;

std::string Quoted(const TDirItem& item) { return "\"" + item.StoredName + "\""; }

// The entry's data read back are not what was meant, as what says.
[[noreturn]] void DataDiffer(const TVerifyRun& run, const TDirItem& item, const std::string& what) {
    run.Differs("the data of " + Quoted(item) + " " + what);
}

std::string SizeProblem(uint64_t got, uint64_t meant) {
    return Format("give %llu bytes instead of %llu", static_cast<unsigned long long>(got),
                  static_cast<unsigned long long>(meant));
}

// The entry's source file as it is now; none when it cannot be opened.
std::unique_ptr<TFileStream> OpenSource(const TDirItem& item) {
    if (item.SourcePath.empty() || (item.ExternalAttributes & faDirectory) != 0) return nullptr;
    try {
        return std::make_unique<TFileStream>(item.SourcePath, static_cast<uint16_t>(fmOpenRead | fmShareDenyNone));
    } catch (const EStreamError&) {
        return nullptr;
    }
}

// ---- from the front ---------------------------------------------------------------------------

bool CheckFromTheFront(TStream& archive, int64_t dataAt, const TDirItem& item, TVerifyRun& run) {
    archive.SetPosition(dataAt);
    uint64_t left = item.CompressedSize;
    std::optional<TZipEncryptor> decryptor;
    if (item.Flags & kFlagEncrypted) {
        std::array<uint8_t, TZipEncryptor::HeaderSize> header{};
        if (left < header.size()) DataDiffer(run, item, "are shorter than their encryption header");
        archive.ReadBuffer(header.data(), TZipEncryptor::HeaderSize);
        left -= TZipEncryptor::HeaderSize;
        decryptor.emplace(item.EntryPassword);
        decryptor->Decrypt(header.data(), TZipEncryptor::HeaderSize);
        // A writer that streams the entry (a data descriptor follows the data) does not know
        // the CRC-32 yet when it writes the header: Info-ZIP checks the time's high byte then.
        const bool streamed = (item.Flags & kFlagDataDescriptor) != 0;
        const uint8_t check = streamed ? static_cast<uint8_t>(item.Time >> 8) : static_cast<uint8_t>(item.Crc32 >> 24);
        if (header.back() != check)
            run.Differs("the encryption header of " + Quoted(item) + " does not match its " +
                        (streamed ? "time" : "CRC-32") + " (a wrong password?)");
    }
    std::optional<TRawInflater> inflater;
    if (item.Method == kMethodDeflated) inflater.emplace();
    std::vector<uint8_t> input(static_cast<size_t>(std::min<uint64_t>(left, kPieceSize)));
    std::vector<uint8_t> output(inflater ? kPieceSize : 0);
    uint32_t crc = 0;
    uint64_t produced = 0;
    auto take = [&](const uint8_t* bytes, size_t n) {
        crc = UpdateCrc32(crc, bytes, static_cast<int64_t>(n));
        produced += n;
        run.Checked(static_cast<int64_t>(n));
        if (produced > item.UncompressedSize) DataDiffer(run, item, "give more bytes than the entry's size");
        run.Emit(bytes, n);
    };
    try {
        while (left > 0) {
            if (!run.Continue()) return false;
            const size_t n = static_cast<size_t>(std::min<uint64_t>(left, kPieceSize));
            archive.ReadBuffer(input.data(), static_cast<int64_t>(n));
            left -= n;
            if (decryptor) decryptor->Decrypt(input.data(), static_cast<int64_t>(n));
            if (!inflater) {
                take(input.data(), n);
                continue;
            }
            if (inflater->Ended()) DataDiffer(run, item, "go on after their final block");
            inflater->Feed(input.data(), n);
            while (inflater->InputLeft() > 0 && !inflater->Ended()) {
                const size_t got = inflater->Inflate(output.data(), output.size());
                if (got == 0 && !inflater->Ended()) DataDiffer(run, item, "stall");
                take(output.data(), got);
            }
            if (inflater->InputLeft() > 0) DataDiffer(run, item, "go on after their final block");
        }
    } catch (const EInflateError& e) {
        DataDiffer(run, item, std::string("cannot be inflated: ") + e.what());
    }
    if (inflater && !inflater->Ended()) DataDiffer(run, item, "end early");
    if (produced != item.UncompressedSize) DataDiffer(run, item, SizeProblem(produced, item.UncompressedSize));
    if (crc != item.Crc32) run.Differs("the CRC-32 of " + Quoted(item) + " differs");
    return true;
}

// ---- chunks side by side ----------------------------------------------------------------------

struct TChunkSlot {
    std::vector<uint8_t> Input;  // the source's bytes in front of the chunk, then its deflate data
    size_t DictionaryLength = 0;
    uint64_t Expected = 0;       // source bytes the chunk must give
    bool Last = false;
    uint32_t Crc = 0;
    std::string Problem;         // empty when the chunk gave its bytes and ended where it should
};

// A thread's inflater and output buffer, kept for the whole entry.
class TChunkReader {
public:
    void Check(TChunkSlot& slot) {
        slot.Problem.clear();
        // One byte of room beyond the chunk, so that data giving too much are seen to.
        const size_t room = static_cast<size_t>(slot.Expected) + 1;
        if (output_.size() < room) output_.resize(room);
        size_t got = 0;
        try {
            inflater_.Restart(slot.Input.data(), slot.DictionaryLength);
            inflater_.Feed(slot.Input.data() + slot.DictionaryLength, slot.Input.size() - slot.DictionaryLength);
            got = inflater_.Inflate(output_.data(), room);
        } catch (const EInflateError& e) {
            slot.Problem = std::string("cannot be inflated: ") + e.what();
            return;
        }
        if (got != slot.Expected)
            slot.Problem = SizeProblem(got, slot.Expected);
        else if (slot.Last ? !inflater_.Ended() || inflater_.InputLeft() > 0 : !inflater_.AtChunkEnd())
            slot.Problem = "do not end between blocks where the chunk ends";
        slot.Crc = Crc32Of(output_.data(), static_cast<int64_t>(got));
    }

private:
    TRawInflater inflater_;
    std::vector<uint8_t> output_;
};

// Chunks that start the data and the source, and follow each other inside both.
bool UsableChunks(const TDirItem& item) {
    if (!item.Chunks || item.Chunks->empty()) return false;
    const std::vector<TDataChunk>& chunks = *item.Chunks;
    if (chunks.front().Data != 0 || chunks.front().Source != 0) return false;
    for (size_t i = 1; i < chunks.size(); ++i)
        if (chunks[i].Data <= chunks[i - 1].Data || chunks[i].Source <= chunks[i - 1].Source) return false;
    return chunks.back().Data < item.CompressedSize && chunks.back().Source < item.UncompressedSize;
}

bool CheckChunks(TStream& archive, int64_t dataAt, const TDirItem& item, TStream& source, TVerifyRun& run) {
    const std::vector<TDataChunk>& chunks = *item.Chunks;
    const int64_t count = static_cast<int64_t>(chunks.size());
    auto dataEnd = [&](int64_t k) { return k + 1 < count ? chunks[k + 1].Data : item.CompressedSize; };
    auto sourceEnd = [&](int64_t k) { return k + 1 < count ? chunks[k + 1].Source : item.UncompressedSize; };
    const unsigned threads = static_cast<unsigned>(std::min<int64_t>(run.Workers(), count));
    TOrderedPool<TChunkSlot> pool(threads + 2, threads, []() -> TOrderedPool<TChunkSlot>::TWork {
        auto reader = std::make_shared<TChunkReader>();
        return [reader](TChunkSlot& slot) { reader->Check(slot); };
    });
    int64_t read = 0;   // chunks read back and handed to the threads
    int64_t taken = 0;  // chunks whose result is in
    uint32_t crc = 0;
    // Reading runs a few chunks ahead; the reports follow the chunks checked.
    if (!run.Continue()) return false;
    while (taken < count) {
        while (read < count && read - taken < static_cast<int64_t>(pool.Capacity())) {
            TChunkSlot& slot = pool.SlotOf(read);
            const TDataChunk& chunk = chunks[static_cast<size_t>(read)];
            slot.DictionaryLength = static_cast<size_t>(std::min<uint64_t>(kDeflateWindow, chunk.Source));
            const uint64_t length = dataEnd(read) - chunk.Data;
            slot.Input.resize(slot.DictionaryLength + static_cast<size_t>(length));
            source.SetPosition(static_cast<int64_t>(chunk.Source - slot.DictionaryLength));
            source.ReadBuffer(slot.Input.data(), static_cast<int64_t>(slot.DictionaryLength));
            archive.SetPosition(dataAt + static_cast<int64_t>(chunk.Data));
            archive.ReadBuffer(slot.Input.data() + slot.DictionaryLength, static_cast<int64_t>(length));
            slot.Expected = sourceEnd(read) - chunk.Source;
            slot.Last = read + 1 == count;
            pool.Submit();
            ++read;
        }
        const TChunkSlot& slot = pool.WaitFor(taken);
        if (!slot.Problem.empty())
            DataDiffer(run, item, Format("in chunk %lld of %lld ", static_cast<long long>(taken + 1),
                                         static_cast<long long>(count)) + slot.Problem);
        crc = taken == 0 ? slot.Crc : CombineCrc32(crc, slot.Crc, static_cast<int64_t>(slot.Expected));
        run.Checked(static_cast<int64_t>(slot.Expected));
        ++taken;
        if (taken < count && !run.Continue()) return false;
    }
    if (crc != item.Crc32) run.Differs("the CRC-32 of " + Quoted(item) + " differs");
    return true;
}

}  // namespace

bool CheckEntryData(TStream& archive, int64_t dataAt, const TDirItem& item, bool fromSource, TVerifyRun& run) {
    std::unique_ptr<TFileStream> source = fromSource ? OpenSource(item) : nullptr;
    if (source && static_cast<uint64_t>(source->Size()) != item.UncompressedSize)
        run.Differs(Format("the source of %s now has %lld bytes, the entry %llu", Quoted(item).c_str(),
                           static_cast<long long>(source->Size()),
                           static_cast<unsigned long long>(item.UncompressedSize)));
    const bool encrypted = (item.Flags & kFlagEncrypted) != 0;
    if ((item.Method != kMethodStored && item.Method != kMethodDeflated) || (encrypted && item.EntryPassword.empty())) {
        run.Checked(static_cast<int64_t>(item.UncompressedSize));
        return true;
    }
    if (source && !encrypted && item.Method == kMethodDeflated && UsableChunks(item))
        return CheckChunks(archive, dataAt, item, *source, run);
    return CheckFromTheFront(archive, dataAt, item, run);
}
