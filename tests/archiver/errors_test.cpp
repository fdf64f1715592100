#include <gtest/gtest.h>

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

TEST(VXException, EveryCodeMapsIntoTheMessageTable) {
    // Codes 0..31 as the table gives them; the rows with a message index are the contract that
    // OnProcessFileFailure handlers see as ErrorCode.
    const int32_t expected[32] = {0, 1, 1, 1, 1, 2, 3, 1, 4, 5, 5, 6, 6, 7, 7, 6,
                                  1, 8, 6, 9, 10, 1, 11, 9, 1, 11, 13, 14, 15, 5, 6, 6};
    for (int32_t code = 0; code < 32; ++code) EXPECT_EQ(VXMessageIndexOfCode(code), expected[code]) << code;
}
