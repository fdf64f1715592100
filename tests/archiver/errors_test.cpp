#include <gtest/gtest.h>

#include <cstdio>

#include "archiver/errors.h"
#include "core/component.h"

namespace {

struct CodeCase {
    int32_t code;
    const char* argument;  // nullptr: the constructor without arguments
    bool named;
    int32_t errorCode;
    const char* message;
};

class NamedOwner : public TComponent {
public:
    NamedOwner() : TComponent(nullptr) { SetName("Vorbex1"); }
};

}  // namespace

TEST(VXException, MessagesCodesAndNames) {
    const CodeCase cases[] = {
        {13, nullptr, true, 7, "Vorbex1: Archive is not open - Native error: 00013"},
        {13, nullptr, false, 7, "Archive is not open - Native error: 00013"},
        {5, nullptr, false, 2, "Invalid compression mode. Mode must be in [0-9] range - Native error: 00005"},
        {9, nullptr, true, 5, "Vorbex1: File name is blank. Specify appropriate file name - Native error: 00009"},
        {10, nullptr, true, 5, "Vorbex1: File name is blank. Specify appropriate file name - Native error: 00010"},
        {29, nullptr, true, 5, "Vorbex1: File name is blank. Specify appropriate file name - Native error: 00029"},
        {12, "c:\\a.zip", true, 6, "Vorbex1: File \"c:\\a.zip\" not found - Native error: 00012"},
        {28, "c:\\a.zip", true, 15, "Vorbex1: In-memory archive can be created only - Native error: 00028"},
        {27, "c:\\x.txt", true, 14, "Vorbex1: Cannot delete file \"c:\\x.txt\" - Native error: 00027"},
        {1, nullptr, false, 1, "Index out of bounds - Native error: 00001"},
        {6, nullptr, false, 3, "Unexpected nil pointer - Native error: 00006"},
        {7, nullptr, false, 1, "Index out of bounds - Native error: 00007"},
        {0, nullptr, false, 0, "Unknown error - Native error: 00000"},
        {41, nullptr, false, 0, "Unknown error - Native error: 00041"},
        {35, nullptr, false, 0, "Unknown error - Native error: 00035"},
        {123456, nullptr, false, 0, "Unknown error - Native error: 123456"},
        {32, "entry 3 lies outside", true, 16, "Vorbex1: Archive is damaged: entry 3 lies outside - Native error: 00032"},
        {33, "the CRC-32 of \"a.fdb\" differs", true, 17,
         "Vorbex1: Archive verification failed: the CRC-32 of \"a.fdb\" differs - Native error: 00033"},
    };
    NamedOwner owner;
    for (const CodeCase& c : cases) {
        const TComponent* archiver = c.named ? &owner : nullptr;
        EVXException e = c.argument ? EVXException(c.code, c.argument, archiver) : EVXException(c.code, archiver);
        EXPECT_EQ(e.Message(), c.message) << c.code;
        EXPECT_EQ(e.NativeError, c.code);
        EXPECT_EQ(e.ErrorCode, c.errorCode) << c.code;
    }
}

TEST(VXException, EveryRaisedCodeSaysWhatWentWrong) {
    // Every code an operation raises, with whether its text shows the argument: each must reach a
    // text of its own (not "Unknown error"), keep the argument it is given where it has one, and
    // leave no template mark unfilled.
    const struct {
        int32_t code;
        bool showsArgument;
    } raised[] = {
        {vxerr::PutIndexOutOfRange, false},  {vxerr::GetIndexOutOfRange, false},
        {vxerr::ItemPtrIndexOutOfRange, false}, {vxerr::InvalidCompressionMode, false},
        {vxerr::NoTemporaryCopy, false},     {vxerr::NoSnapshotCounterpart, false},
        {vxerr::OpenDefaultWithoutName, false}, {vxerr::OpenWithoutName, false},
        {vxerr::ArchiveFileNotFound, true},  {vxerr::ArchiveNotOpen, false},
        {vxerr::CannotDeleteMovedFile, true}, {vxerr::InMemoryCreateOnly, false},
        {vxerr::InMemoryOffWithoutName, false}, {vxerr::DamagedArchive, true},
        {vxerr::VerificationFailed, true},   {vxerr::RollbackFailed, true},
    };
    const std::string argument = "c:\\arhiva\\x.zip";
    NamedOwner owner;
    for (const auto& r : raised) {
        const EVXException e(r.code, argument, &owner);
        const std::string message = e.Message();
        EXPECT_NE(e.ErrorCode, 0) << r.code;
        EXPECT_EQ(message.find("Unknown error"), std::string::npos) << message;
        EXPECT_EQ(message.find("%s"), std::string::npos) << message;
        EXPECT_EQ(message.find("Vorbex1: "), 0u) << message;
        EXPECT_EQ(message.find(argument) != std::string::npos, r.showsArgument) << message;
        char suffix[32];
        snprintf(suffix, sizeof suffix, " - Native error: %05d", static_cast<int>(r.code));
        EXPECT_TRUE(message.ends_with(suffix)) << message;
    }
}
