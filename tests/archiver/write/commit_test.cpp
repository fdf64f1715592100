// The commit of an update batch: layout of what it writes, appending to archives of other
// writers, the temporary tail copy, rollback after failures and cancels.
#include <gtest/gtest.h>

#include <windows.h>

#include "archiver/archive_fixtures.h"
#include "archiver/vorbex.h"
#include "archiver/zip/entry_codec.h"
#include "archiver/zip/records.h"
#include "support/files.h"
#include "support/open_archive.h"
#include "support/test_data.h"

using namespace archive_fixtures;

namespace {

// Every item's recorded local header, plus the StartOffset, must land on a local header of the
// same name; this is what a reader relies on after any number of commits.
void ExpectLocalHeadersWhereRecorded(const std::string& path) {
    TVorbex v(nullptr);
    v.SetFileName(path);
    v.Open(0x40);
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    const TVXDirManager& d = *v.Directory();
    for (int i = 0; i < d.Items.Count(); ++i) {
        const TDirItem& item = *d.Items.ItemPtr(i);
        const size_t at = static_cast<size_t>(item.LocalHeaderOffset + d.StartOffset);
        ASSERT_LT(at + 30, bytes.size()) << path << " " << item.StoredName;
        EXPECT_EQ(U32At(bytes, at), TLocalHeader::Signature) << path << " " << item.StoredName;
        const uint16_t nameLength = U16At(bytes, at + 26);
        std::string name(reinterpret_cast<const char*>(bytes.data() + at + 30), nameLength);
        EXPECT_EQ(name, WrittenName(item)) << path;
    }
}

// A source that fails with an archiver error once part of it has been read.
class TSourceFailingMidway : public TMemoryStream {
public:
    int64_t Read(void* buffer, int64_t count) override {
        if (Position() >= Size() / 2) throw EVXException(vxerr::DamagedArchive, "the source failed", nullptr);
        return TMemoryStream::Read(buffer, count);
    }
};

}  // namespace

TEST(Commit, TheDialogsArchiveIsLaidOutRecordByRecord) {
    TVorbex v(nullptr);
    v.SetInMemory(true);
    v.Open(fmCreate);
    v.BeginUpdate();
    AppendMemoryItem(v, "BRODANIKVESTRA_G2024.fdb", std::string(5000, 'k') + "end");
    v.EndUpdate();
    const auto& b = static_cast<TMemoryStream*>(v.ArchiveStream())->Data();
    const TDirItem item = v.Directory()->Items.GetItem(0);
    const uint32_t c = static_cast<uint32_t>(item.CompressedSize);
    ASSERT_EQ(b.size(), c + 146);
    // Local header, name at 30, data at 54.
    EXPECT_EQ(U32At(b, 0), TLocalHeader::Signature);
    EXPECT_EQ(U16At(b, 4), 20);
    EXPECT_EQ(U16At(b, 6), 0);
    EXPECT_EQ(U16At(b, 8), 8);
    EXPECT_EQ(U32At(b, 18), c);
    EXPECT_EQ(U32At(b, 22), 5003u);
    EXPECT_EQ(U16At(b, 26), 24);
    EXPECT_EQ(U16At(b, 28), 0);
    EXPECT_EQ(std::string(b.begin() + 30, b.begin() + 54), "BRODANIKVESTRA_G2024.fdb");
    // Central header at 54 + C, agreeing with the local one.
    const size_t central = 54 + c;
    EXPECT_EQ(U32At(b, central), TCentralHeader::Signature);
    for (size_t field = 0; field < 16; field += 2)
        EXPECT_EQ(U16At(b, 4 + 2 + field), U16At(b, central + 6 + 2 + field)) << field;  // method .. sizes
    EXPECT_EQ(U32At(b, central + 42), 0u);
    EXPECT_EQ(U32At(b, central + 38), 0x20u);
    // End record at 124 + C.
    const size_t end = 124 + c;
    EXPECT_EQ(U32At(b, end), TEndRecord::Signature);
    EXPECT_EQ(U16At(b, end + 8), 1);
    EXPECT_EQ(U16At(b, end + 10), 1);
    EXPECT_EQ(U32At(b, end + 12), 70u);
    EXPECT_EQ(U32At(b, end + 16), central);
    EXPECT_EQ(U16At(b, end + 20), 0);
}

TEST(Commit, EachNewEntryStartsWhereTheArchiveEnded) {
    TVorbex v(nullptr);
    v.SetInMemory(true);
    v.Open(fmCreate);
    std::vector<int64_t> lengths;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        v.BeginUpdate();
        AppendMemoryItem(v, name, std::string(200, name[0]));
        // The cut falls on the old directory: the entry takes its place.
        lengths.push_back(v.Directory()->CentralDirPosition());
        v.EndUpdate();
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(v.Directory()->Items.ItemPtr(i)->LocalHeaderOffset, static_cast<uint64_t>(lengths[i]));
    // Nothing pending and nothing loaded: the end record alone.
    TVorbex empty(nullptr);
    empty.SetInMemory(true);
    empty.Open(fmCreate);
    empty.BeginUpdate();
    empty.EndUpdate();
    EXPECT_EQ(empty.ArchiveStream()->Size(), 22);
}

TEST(Commit, NothingIsWrittenBeforeTheOutermostEndUpdate) {
    TVorbex v(nullptr);
    v.SetInMemory(true);
    v.Open(fmCreate);
    v.BeginUpdate();
    v.BeginUpdate();
    AppendMemoryItem(v, "n.txt", "nested");
    v.EndUpdate();
    EXPECT_EQ(v.ArchiveStream()->Size(), 0);
    EXPECT_EQ(v.UpdateCount(), 1);
    v.EndUpdate();
    EXPECT_GT(v.ArchiveStream()->Size(), 22);
    EXPECT_EQ(v.UpdateCount(), 0);

    // Closing inside a batch ends it unwritten; its last EndUpdate then has nothing to commit.
    support::TOpenArchive w(ScratchPath("closed_in_batch"));
    const std::string& path = w.Path;
    TVorbex& c = w.Open();
    c.BeginUpdate();
    AppendMemoryItem(c, "lost.txt", "never written");
    c.Close();
    c.EndUpdate();
    EXPECT_EQ(c.UpdateCount(), 0);
    EXPECT_EQ(ReadFileBytes(path).size(), 22u);
}

TEST(Commit, AppendsToArchivesOfOtherWritersWithoutATemporaryCopy) {
    const char* files[] = {"infozip.zip", "infozip_stored.zip", "sevenzip.zip", "bsdtar.zip", "python.zip",
                           "prefix100.zip", "inner_last.zip", "empty_commented.zip", "many.zip",
                           "wide_prefixed.zip"};
    for (const char* file : files) {
        support::TOpenArchive w(ScratchPath(std::string("append_") + file), CorpusPath(file));
        TVorbex& v = w.Open();
        const std::string comment = v.Directory()->ArchiveComment;
        std::vector<std::string> names = WrittenNames(v);
        // Two commits while the archive stays open: offsets must stay right after both.
        for (const char* added : {"added one.txt", "added-two.txt"}) {
            v.BeginUpdate();
            AppendMemoryItem(v, added, std::string("appended by the archiver ") + added);
            v.EndUpdate();
            names.push_back(added);
            EXPECT_EQ(support::CountFiles(w.Temp), 0) << file;
        }
        EXPECT_EQ(v.Directory()->ArchiveComment, comment);
        v.Close();
        ExpectLocalHeadersWhereRecorded(w.Path);
        const std::string result = ResultPath(std::string("appended_") + file);
        support::CopyFileTo(w.Path, result);
        WriteExpectedNames(result, names);
    }
}

TEST(Commit, AFailureAfterTheTemporaryCopyRestoresTheFileExactly) {
    support::TOpenArchive w(ScratchPath("fail_with_temp"), CorpusPath("infozip.zip"));
    const std::vector<uint8_t> before = ReadFileBytes(w.Path);
    TVorbex& v = w.Open();
    v.BeginUpdate();
    // The first entry renamed in place: the commit saves the whole old archive, then finds no
    // Snapshot counterpart for it.
    v.Directory()->Items.ItemPtr(0)->StoredName = "renamed.txt";
    try {
        v.EndUpdate();
        FAIL() << "commit succeeded";
    } catch (const EVXException& e) {
        EXPECT_EQ(e.Message(), "Index out of bounds - Native error: 00007");
    }
    EXPECT_EQ(ItemNames(v), (std::vector<std::string>{"alpha.txt", "beta.bin", "sub/gamma.txt"}));
    v.Close();
    EXPECT_EQ(ReadFileBytes(w.Path), before);
    EXPECT_EQ(support::CountFiles(w.Temp), 0);
}

TEST(Commit, ChangedEntriesInTheMiddleAreCopiedBackFromTheTemporaryFile) {
    // Entries of other writers: local extra fields longer than the central ones (Info-ZIP, 7z)
    // and data descriptors (bsdtar).
    for (const char* file : {"infozip.zip", "sevenzip.zip", "bsdtar.zip", "prefix100.zip"}) {
        support::TOpenArchive w(ScratchPath(std::string("change_attr_") + file), CorpusPath(file));
        TVorbex& v = w.Open();
        const std::vector<std::string> names = WrittenNames(v);
        v.BeginUpdate();
        TDirItem& first = *v.Directory()->Items.ItemPtr(0);
        first.Pending = 1;
        first.Operation = poChangeAttr;
        first.ExternalAttributes = 0x21;
        v.EndUpdate();
        EXPECT_EQ(support::CountFiles(w.Temp), 0) << file;
        v.Close();
        ExpectLocalHeadersWhereRecorded(w.Path);
        TVorbex check(nullptr);
        check.SetFileName(w.Path);
        check.Open(0x40);
        EXPECT_EQ(check.Directory()->Items.ItemPtr(0)->ExternalAttributes, 0x21u) << file;
        const std::string result = ResultPath(std::string("changed_") + file);
        support::CopyFileTo(w.Path, result);
        WriteExpectedNames(result, names);
    }
}

TEST(Commit, AFailureWithoutATemporaryCopyLeavesTheArchiveAsBefore) {
    for (const char* file : {"python.zip", "prefix100.zip", "infozip.zip", ""}) {
        support::TOpenArchive w(ScratchPath(std::string("fail_no_temp_") + file), *file ? CorpusPath(file) : "");
        const std::vector<uint8_t> before = ReadFileBytes(w.Path);
        TVorbex& v = w.Open();
        const std::vector<std::string> names = WrittenNames(v);
        v.BeginUpdate();
        AppendMemoryItem(v, "written.txt", "this entry is written completely");
        // The second one's source is missing: the file stream refuses it after the first entry
        // went into the archive.
        TVXDirArray& items = v.Directory()->Items;
        items.SetCount(items.Count() + 1);
        TDirItem& missing = *items.ItemPtr(items.Count() - 1);
        missing.StoredName = "missing.txt";
        missing.SourcePath = w.Folder + "\\missing.txt";
        missing.Pending = 1;
        EXPECT_THROW(v.EndUpdate(), EFOpenError) << file;
        EXPECT_EQ(WrittenNames(v), names);
        v.Close();
        if (*file) {
            EXPECT_EQ(ReadFileBytes(w.Path), before) << file;
        } else {
            const auto empty = TEndRecord::Empty();
            EXPECT_EQ(ReadFileBytes(w.Path), std::vector<uint8_t>(empty.begin(), empty.end()));
        }
        const std::string result = ResultPath(std::string("failed_") + (*file ? file : "new.zip"));
        support::CopyFileTo(w.Path, result);
        WriteExpectedNames(result, names);
    }
}

TEST(Commit, AnEntryGivenUpAfterItsFailureWasReportedLeavesNoTrace) {
    for (const char* file : {"python.zip", ""}) {
        support::TOpenArchive w(ScratchPath(std::string("given_up_") + file), *file ? CorpusPath(file) : "");
        TVorbex& v = w.Open();
        std::vector<std::string> names = WrittenNames(v);
        std::vector<std::string> reported;
        v.OnProcessFileFailure = [&](TObject*, const std::string& name, TVXProcessOperation, int32_t native, int32_t,
                                     const std::string&) { reported.push_back(name + " " + std::to_string(native)); };
        v.BeginUpdate();
        AppendMemoryItem(v, "before.txt", "written before the failing entry");
        AppendMemoryItem(v, "failing.bin", "");
        TDirItem& failing = *v.Directory()->Items.ItemPtr(v.Directory()->Items.Count() - 1);
        delete failing.SourceStream;
        auto* source = new TSourceFailingMidway;
        const std::string data = support::NoiseBytes(1500000, 3);
        source->WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
        failing.SourceStream = source;
        failing.SourcePath = "c:\\source\\failing.bin";
        AppendMemoryItem(v, "after.txt", "written after it");
        v.EndUpdate();
        names.push_back("before.txt");
        names.push_back("after.txt");
        EXPECT_EQ(WrittenNames(v), names) << file;
        EXPECT_EQ(reported, std::vector<std::string>{"c:\\source\\failing.bin 32"}) << file;
        v.Close();
        ExpectLocalHeadersWhereRecorded(w.Path);
        const std::string result = ResultPath(std::string("given_up_") + (*file ? file : "new.zip"));
        support::CopyFileTo(w.Path, result);
        WriteExpectedNames(result, names);
    }
}

TEST(Commit, AnUnnamedItemThatIsNotPendingFailsTheCommit) {
    TVorbex v(nullptr);
    v.SetInMemory(true);
    v.Open(fmCreate);
    v.BeginUpdate();
    AppendMemoryItem(v, "kept.txt", "x");
    v.EndUpdate();
    const std::vector<uint8_t> before = static_cast<TMemoryStream*>(v.ArchiveStream())->Data();
    v.BeginUpdate();
    v.Directory()->Items.SetCount(2);
    EXPECT_THROW(v.EndUpdate(), EVXException);
    EXPECT_EQ(v.Directory()->Items.Count(), 1);
    EXPECT_EQ(static_cast<TMemoryStream*>(v.ArchiveStream())->Data(), before);
}

TEST(Commit, CancelsRestoreTheSnapshot) {
    struct Case {
        const char* what;
        bool cancelOverallStart;
        int cancelFileStartOf;  // 1-based index of the entry whose ppStart report cancels; 0 none
    } cases[] = {{"first overall report", true, 0}, {"second entry's start", false, 2}, {"first entry's start", false, 1}};
    for (const Case& c : cases) {
        support::TOpenArchive w(ScratchPath(std::string("cancel_") + std::to_string(c.cancelFileStartOf)),
                                CorpusPath("python.zip"));
        const std::vector<uint8_t> before = ReadFileBytes(w.Path);
        TVorbex& v = w.Open();
        int starts = 0;
        v.OnOverallProgress = [&](TObject*, double, TVXProcessOperation, TVXProgressPhase phase, bool& cancel) {
            if (phase == ppStart && c.cancelOverallStart) cancel = true;
        };
        v.OnFileProgress = [&](TObject*, const std::string&, double, TVXProcessOperation, TVXProgressPhase phase,
                               bool& cancel) {
            if (phase == ppStart && ++starts == c.cancelFileStartOf) cancel = true;
        };
        v.BeginUpdate();
        AppendMemoryItem(v, "one.txt", "1");
        AppendMemoryItem(v, "two.txt", "2");
        v.EndUpdate();
        EXPECT_EQ(ItemNames(v), (std::vector<std::string>{"first.txt", "dir/file.txt", "folder/"})) << c.what;
        v.Close();
        EXPECT_EQ(ReadFileBytes(w.Path), before) << c.what;
    }
}

TEST(Commit, CancelUpdateDropsTheBatchsItems) {
    support::TOpenArchive w(ScratchPath("cancel_update"));
    const std::string& path = w.Path;
    TVorbex& v = w.Open();
    v.BeginUpdate();
    AppendMemoryItem(v, "never.txt", "written");
    v.CancelUpdate();
    EXPECT_EQ(v.UpdateCount(), 0);
    EXPECT_EQ(v.Directory()->Items.Count(), 0);
    v.Close();
    // No central header for an entry without data.
    EXPECT_EQ(ReadFileBytes(path).size(), 22u);
}

TEST(Commit, MovedFilesAreDeletedOnceTheArchiveIsComplete) {
    support::TOpenArchive w(ScratchPath("moves"));
    const std::string gone = w.Folder + "\\gone.txt";
    const std::string held = w.Folder + "\\held.txt";
    WriteFileBytes(gone, {'g'});
    WriteFileBytes(held, {'h'});
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    w.Archiver.SetName("Vorbex1");
    TVorbex& v = w.Open();
    std::vector<std::string> failures;
    v.OnProcessFileFailure = [&](TObject*, const std::string& name, TVXProcessOperation op, int32_t native,
                                 int32_t code, const std::string& message) {
        failures.push_back(name + "|" + std::to_string(native) + "|" + std::to_string(code) + "|" + message);
    };
    v.BeginUpdate();
    for (const std::string& source : {gone, held}) {
        AppendMemoryItem(v, source.substr(w.Folder.size() + 1), "moved");
        TDirItem& item = *v.Directory()->Items.ItemPtr(v.Directory()->Items.Count() - 1);
        item.Operation = poMove;
        item.SourcePath = source;
    }
    v.EndUpdate();
    EXPECT_EQ(GetFileAttributesA(gone.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], held + "|27|14|Vorbex1: Cannot delete file \"" + held + "\" - Native error: 00027");
    EXPECT_EQ(v.Directory()->Items.Count(), 2);

    // Without a handler the failure is raised, the archive being complete already.
    v.OnProcessFileFailure = nullptr;
    v.BeginUpdate();
    AppendMemoryItem(v, "again.txt", "moved");
    v.Directory()->Items.ItemPtr(2)->Operation = poMove;
    v.Directory()->Items.ItemPtr(2)->SourcePath = held;
    EXPECT_THROW(v.EndUpdate(), EVXException);
    EXPECT_EQ(v.Directory()->Items.Count(), 3);
    CloseHandle(holder);
    v.Close();
    ExpectLocalHeadersWhereRecorded(w.Path);
}

TEST(Commit, EntriesSharingANameKeepTheirOwnDataWhenCopiedBack) {
    support::TOpenArchive w(ScratchPath("same_names"));
    TVorbex& v = w.Open();
    v.BeginUpdate();
    AppendMemoryItem(v, "same.txt", "the first of two entries named alike");
    AppendMemoryItem(v, "same.txt", "the second one, with other data");
    v.EndUpdate();
    v.BeginUpdate();
    TDirItem& first = *v.Directory()->Items.ItemPtr(0);
    first.Pending = 1;
    first.Operation = poChangeAttr;
    v.EndUpdate();
    v.Close();
    ExpectLocalHeadersWhereRecorded(w.Path);
    const std::string result = ResultPath("same_names.zip");
    support::CopyFileTo(w.Path, result);
    WriteExpectedNames(result, {"same.txt", "same.txt"});
}

TEST(Commit, AFileThatHoldsNoArchiveIsLeftAsItWas) {
    // A file with bytes but no end record: not an archive, or one cut short. Writing a new
    // archive over it would lose what it holds.
    const std::vector<uint8_t> archive = ReadFileBytes(CorpusPath("infozip.zip"));
    const struct {
        const char* What;
        std::vector<uint8_t> Bytes;
    } cases[] = {
        {"not an archive", ReadFileBytes(CorpusPath("not_a_zip.bin"))},
        {"an archive cut short", std::vector<uint8_t>(archive.begin(), archive.end() - 30)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        support::TOpenArchive w(ScratchPath("no_archive"));
        WriteFileBytes(w.Path, c.Bytes);
        TVorbex& v = w.Open();
        v.BeginUpdate();
        AppendMemoryItem(v, "new.txt", "must not replace the file's bytes");
        try {
            v.EndUpdate();
            ADD_FAILURE() << "written over";
        } catch (const EVXException& e) {
            EXPECT_EQ(e.NativeError, vxerr::DamagedArchive) << e.Message();
        }
        EXPECT_EQ(v.Directory()->Items.Count(), 0);
        v.Close();
        EXPECT_EQ(ReadFileBytes(w.Path), c.Bytes);
        EXPECT_EQ(support::CountFiles(w.Temp), 0);
    }
}

TEST(Commit, AnArchiveOpenForReadingOnlyFailsTheAppendAndStaysIntact) {
    // What OpenDefault falls back to for a read-only file: no write reaches the file, and the
    // rollback has nothing to restore, so the failure is the write's and not a damaged archive.
    support::TOpenArchive w(ScratchPath("read_only"), CorpusPath("python.zip"));
    const std::vector<uint8_t> before = ReadFileBytes(w.Path);
    TVorbex& v = w.Archiver;
    v.SetTempDir(w.Temp);
    v.SetFileName(w.Path);
    v.Open(fmOpenRead | fmShareDenyNone);
    v.BeginUpdate();
    AppendMemoryItem(v, "new.txt", "cannot be written");
    EXPECT_THROW(v.EndUpdate(), EWriteError);
    EXPECT_EQ(WrittenNames(v), (std::vector<std::string>{"first.txt", "dir\\file.txt", "folder/"}));
    v.Close();
    EXPECT_EQ(ReadFileBytes(w.Path), before);
    EXPECT_EQ(support::CountFiles(w.Temp), 0);
}
