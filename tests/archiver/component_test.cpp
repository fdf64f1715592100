// The archiver component: defaults, properties, form loading, the open/close lifecycle and the
// errors its operations raise.
#include <gtest/gtest.h>

#include <windows.h>

#include "archiver/archive_fixtures.h"
#include "archiver/vorbex.h"
#include "core/form_reader.h"
#include "support/files.h"

using namespace archive_fixtures;

namespace {

class TFormWithArchiver : public TComponent {
public:
    TFormWithArchiver() : TComponent(nullptr) {}
    ~TFormWithArchiver() override { DestroyComponents(); }
    static const TClassInfo& StaticClass() {
        static const TClassInfo info = MakeClassInfo<TFormWithArchiver, TComponent>("TFSnimanjePodataka");
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
};

template <class F>
std::string MessageOf(F&& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(nothing raised)";
}

}  // namespace

TEST(Vorbex, StartsWithTheDeclaredSettings) {
    TVorbex v(nullptr);
    EXPECT_EQ(v.CompressionLevel(), clFastest);
    EXPECT_EQ(v.CompressionMode(), 1);
    EXPECT_EQ(v.CompressionMethod(), 8);
    EXPECT_EQ(v.CurrentVersion(), "1.00 Beta");
    EXPECT_EQ(v.Options()->ShareMode(), smShareCompat);
    EXPECT_EQ(v.Options()->SearchAttr(), 63);
    EXPECT_TRUE(v.Options()->Recurse());
    EXPECT_FALSE(v.Active());
    EXPECT_TRUE(v.DataStepOn());
    TVXBaseArchiver base(nullptr);
    EXPECT_EQ(base.CompressionMethod(), 0xFFFF);
    EXPECT_FALSE(base.DataStepOn());
}

TEST(Vorbex, LevelAndModeAreTwoViewsOfOneSetting) {
    TVorbex v(nullptr);
    struct { int mode; TVXCompressionLevel level; uint16_t method; } modes[] = {
        {0, clNone, 0}, {1, clFastest, 8}, {3, clFastest, 8}, {4, clNormal, 8}, {6, clNormal, 8},
        {7, clMax, 8}, {9, clMax, 8}};
    for (auto m : modes) {
        v.SetCompressionMode(m.mode);
        EXPECT_EQ(v.CompressionMode(), m.mode);
        EXPECT_EQ(v.CompressionLevel(), m.level) << m.mode;
        EXPECT_EQ(v.CompressionMethod(), m.method) << m.mode;
    }
    struct { TVXCompressionLevel level; int mode; } levels[] = {{clNone, 0}, {clFastest, 1}, {clNormal, 6}, {clMax, 9}};
    for (auto l : levels) {
        v.SetCompressionLevel(l.level);
        EXPECT_EQ(v.CompressionMode(), l.mode);
    }
    v.SetCompressionMode(5);
    EXPECT_EQ(MessageOf([&] { v.SetCompressionMode(10); }),
              "Invalid compression mode. Mode must be in [0-9] range - Native error: 00005");
    EXPECT_EQ(v.CompressionMode(), 5);
    EXPECT_EQ(v.CompressionLevel(), clNormal);
    v.SetCurrentVersion("2.0");
    EXPECT_EQ(v.CurrentVersion(), "1.00 Beta");
}

TEST(Vorbex, LoadsFromTheDialogsFormDescription) {
    RegisterArchiverClasses();
    {
        TFormWithArchiver dialog;
        ReadFormDescription(dialog, R"(object FSnimanjePodataka: TFSnimanjePodataka
  object Vorbex1: TVorbex
    CompressionLevel = clFastest
    CompressionMode = 1
    CurrentVersion = '1.00 Beta'
    Options.ShareMode = smShareCompat
    InMemory = False
  end
end
)");
        auto* v = dynamic_cast<TVorbex*>(dialog.FindComponent("Vorbex1"));
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->Owner(), &dialog);
        EXPECT_EQ(v->CompressionMode(), 1);
        EXPECT_EQ(v->CompressionMethod(), 8);
        EXPECT_EQ(v->Options()->ShareMode(), smShareCompat);
        EXPECT_FALSE(v->Active());
    }
    TFormWithArchiver form;
    ReadFormDescription(form, R"(object FSnimanjePodataka: TFSnimanjePodataka
  object Vorbex1: TVorbex
    CompressionLevel = clNormal
    CompressionMode = 1
    Options.ShareMode = smShareDenyWrite
    Options.Recurse = False
    FileMasks.Strings = ('*.fdb' '*.txt')
    InMemory = False
  end
end
)");
    auto* v = dynamic_cast<TVorbex*>(form.FindComponent("Vorbex1"));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->Name(), "Vorbex1");
    // The mode comes after the level in the description and wins.
    EXPECT_EQ(v->CompressionMode(), 1);
    EXPECT_EQ(v->CompressionLevel(), clFastest);
    EXPECT_EQ(v->Options()->ShareMode(), smShareDenyWrite);
    EXPECT_FALSE(v->Options()->Recurse());
    EXPECT_EQ(v->FileMasks()->Items(), (std::vector<std::string>{"*.fdb", "*.txt"}));
    EXPECT_FALSE(v->InMemory());
    EXPECT_EQ(MessageOf([&] { v->AddMatchingFiles("x", faAnyFile, ""); }), "Vorbex1: Archive is not open - Native error: 00013");

    // Only ShareMode records a value away from its declared default.
    const TClassInfo& options = TVXOptions::StaticClass();
    for (const TPropInfo* p : options.AllProps()) {
        ASSERT_TRUE(p->Default.has_value()) << p->Name;
        TVXOptions fresh;
        EXPECT_EQ(p->GetOrd(fresh) != *p->Default, p->Name == "ShareMode") << p->Name;
    }
    // The component's own ordinals declare no default, so a form records them all.
    for (const TPropInfo* p : TVorbex::StaticClass().AllProps())
        if (p->IsOrdinal()) {
            EXPECT_FALSE(p->Default.has_value()) << p->Name;
        }
}

TEST(VXOptions, AssignCopiesAllButShareMode) {
    TVXOptions a, b;
    a.SetRecurse(false);
    a.SetStorePath(spFullPath);
    a.SetShareMode(smShareDenyNone);
    a.SetOverwriteMode(omNever);
    a.SetSearchAttr(39);
    b.Assign(a);
    EXPECT_FALSE(b.Recurse());
    EXPECT_EQ(b.StorePath(), spFullPath);
    EXPECT_EQ(b.OverwriteMode(), omNever);
    EXPECT_EQ(b.SearchAttr(), 39);
    EXPECT_EQ(b.ShareMode(), smShareCompat);
    TStringList list;
    EXPECT_THROW(b.Assign(list), EConvertError);
}

TEST(Vorbex, OpenRefusalsCarryTheirCodes) {
    const std::string folder = ScratchFolder("open_errors");
    const std::string existing = folder + "\\exists.zip";
    support::CopyFileTo(CorpusPath("python.zip"), existing);
    TVorbex v(nullptr);
    v.SetName("Vorbex1");
    struct Case { std::string fileName; bool inMemory; uint16_t mode; std::string message; } cases[] = {
        {"", false, 0x22, "Vorbex1: File name is blank. Specify appropriate file name - Native error: 00010"},
        {folder + "\\missing.zip", false, 0x22,
         "Vorbex1: File \"" + folder + "\\missing.zip\" not found - Native error: 00012"},
        {existing, true, 0x40, "Vorbex1: In-memory archive can be created only - Native error: 00028"},
    };
    for (const Case& c : cases) {
        v.SetFileName(c.fileName);
        v.SetInMemory(c.inMemory);
        EXPECT_EQ(MessageOf([&] { v.Open(c.mode); }), c.message);
        EXPECT_FALSE(v.Active());
    }
    v.SetInMemory(false);
    v.SetFileName("");
    EXPECT_EQ(MessageOf([&] { v.OpenDefault(); }),
              "Vorbex1: File name is blank. Specify appropriate file name - Native error: 00009");
    EXPECT_EQ(MessageOf([&] { v.CheckOpen(); }), "Vorbex1: Archive is not open - Native error: 00013");
    // Create mode does not test the name: the file stream refuses it.
    EXPECT_THROW(v.Open(fmCreate), EFCreateError);
    EXPECT_FALSE(v.Active());
}

TEST(Vorbex, CreateEmptiesAnExistingArchiveAndCloseWritesTheEmptyRecord) {
    const std::string path = ScratchFolder("create") + "\\a.zip";
    support::CopyFileTo(CorpusPath("python.zip"), path);
    int opened = 0;
    {
        TVorbex v(nullptr);
        v.AfterOpen = [&](TObject* sender) { opened += sender == &v; };
        v.SetFileName(path);
        v.Open(fmCreate);
        EXPECT_TRUE(v.Active());
        EXPECT_EQ(v.Directory()->Items.Count(), 0);
        v.Close();
        v.Close();
        EXPECT_FALSE(v.Active());
    }
    EXPECT_EQ(opened, 1);
    std::vector<uint8_t> expected = {0x50, 0x4B, 0x05, 0x06};
    expected.resize(22, 0);
    EXPECT_EQ(ReadFileBytes(path), expected);
}

TEST(Vorbex, OpenDefaultPicksTheModeFromTheFile) {
    const std::string folder = ScratchFolder("open_default");
    const std::string path = folder + "\\a.zip";
    TVorbex v(nullptr);
    v.SetFileName(path);
    v.SetActive(true);  // no such file: created
    EXPECT_EQ(v.OpenMode(), fmCreate);
    v.SetActive(false);
    support::CopyFileTo(CorpusPath("infozip.zip"), path);
    v.OpenDefault();
    EXPECT_EQ(v.OpenMode(), 0x22);
    EXPECT_EQ(v.Directory()->Items.Count(), 3);
    v.Close();
    {
        // Held by another writer: only reading with deny-none sharing is left.
        HANDLE other = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        v.OpenDefault();
        EXPECT_EQ(v.OpenMode(), 0x40);
        v.Close();
        CloseHandle(other);
    }
}

TEST(Vorbex, InMemoryArchivesLiveWithoutAFile) {
    const std::string path = ScratchFolder("in_memory") + "\\m.zip";
    TVorbex v(nullptr);
    v.SetName("Vorbex1");
    v.SetInMemory(true);
    v.Open(fmCreate);
    v.BeginUpdate();
    AppendMemoryItem(v, "note.txt", "kept in memory");
    v.EndUpdate();
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(MessageOf([&] { v.SetInMemory(false); }),
              "Vorbex1: File name is blank. Specify appropriate file name - Native error: 00029");
    EXPECT_TRUE(v.InMemory());
    // Switching to the file carries the archive over.
    v.SetFileName(path);
    v.SetInMemory(false);
    EXPECT_FALSE(v.InMemory());
    EXPECT_TRUE(v.Active());
    EXPECT_EQ(ItemNames(v), std::vector<std::string>{"note.txt"});
    // Switching back starts an empty memory archive.
    v.SetInMemory(true);
    EXPECT_EQ(v.Directory()->Items.Count(), 0);
    v.Close();
    TVorbex check(nullptr);
    check.SetFileName(path);
    check.Open(0x40);
    EXPECT_EQ(ItemNames(check), std::vector<std::string>{"note.txt"});
}

TEST(Vorbex, ADamagedArchiveLeavesTheComponentClosedAndTheFileFree) {
    const std::string path = ScratchFolder("damaged") + "\\d.zip";
    std::vector<uint8_t> bytes = ReadFileBytes(CorpusPath("python.zip"));
    // Claim far more entries than the directory can hold.
    const size_t end = bytes.size() - 22 - 22;  // the python archive carries a 22-byte comment
    bytes[end + 8] = bytes[end + 10] = 0xFF;
    bytes[end + 9] = bytes[end + 11] = 0x7F;
    WriteFileBytes(path, bytes);
    TVorbex v(nullptr);
    v.SetName("Vorbex1");
    v.SetFileName(path);
    EXPECT_EQ(MessageOf([&] { v.OpenDefault(); }),
              "Vorbex1: Archive is damaged: 32767 entries do not fit into a central directory of " +
                  std::to_string(U32At(bytes, end + 12)) + " bytes - Native error: 00032");
    EXPECT_FALSE(v.Active());
    EXPECT_TRUE(CanOpenExclusively(path));
}

TEST(Vorbex, TheDestructorClosesAnOpenArchive) {
    const std::string path = ScratchFolder("destructor") + "\\a.zip";
    {
        TVorbex v(nullptr);
        v.SetFileName(path);
        v.Open(fmCreate);
        EXPECT_FALSE(CanOpenExclusively(path));
    }
    EXPECT_TRUE(CanOpenExclusively(path));
    EXPECT_EQ(ReadFileBytes(path).size(), 22u);
}
