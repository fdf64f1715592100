#include "archiver/errors.h"

#include <array>

#include "core/component.h"
#include "core/text.h"

namespace {

// Held only: rows 4 and 8 to 13 (kept so that every index keeps its text; no code this archiver
// raises reaches them).
constexpr std::array<const char*, 18> kMessages = {
    "Unknown error",
    "Index out of bounds",
    "Invalid compression mode. Mode must be in [0-9] range",
    "Unexpected nil pointer",
    "Invalid check sum of file",
    "File name is blank. Specify appropriate file name",
    "File \"%s\" not found",
    "Archive is not open",
    "SFXStub property is not specified",
    "Cannot create file \"%s\"",
    "Cannot create directory \"%s\"",
    "Internal error. Update is not started",
    "Cannot open file \"%s\"",
    "Cannot proceed when update is not ended. Preceding EndUpdate call is required.",
    "Cannot delete file \"%s\"",
    "In-memory archive can be created only",
    // The failures that have a text of their own beyond the sixteen above: records that
    // contradict each other or the file's size (code 32) and a rollback that failed in turn
    // (code 34) ...
    "Archive is damaged: %s",
    // ... and a commit whose archive, read back, differs from what it wrote (code 33).
    "Archive verification failed: %s",
};

// Message index of each code 0 to 40; -1 where a code has no message.
constexpr std::array<int8_t, 41> kCodeToMessage = {
    0, 1, 1, 1, 1, 2, 3, 1, 4, 5, 5, 6, 6, 7, 7, 6, 1, 8, 6, 9, 10,
    1, 11, 9, 1, 11, 13, 14, 15, 5, 6, 6, 16, 17, 16, -1, -1, -1, -1, -1, -1,
};

std::string FormatWithArgument(const std::string& text, const std::string& argument) {
    size_t at = text.find("%s");
    if (at == std::string::npos) return text;
    return text.substr(0, at) + argument + text.substr(at + 2);
}

std::string BuildMessage(int32_t code, int32_t index, const std::string* argument, const TComponent* archiver) {
    std::string text = VXMessageText(index);
    if (argument) text = FormatWithArgument(text, *argument);
    if (archiver && !archiver->Name().empty()) text = archiver->Name() + ": " + text;
    std::string number = Format("%5d", static_cast<int>(code));
    for (char& c : number)
        if (c == ' ') c = '0';
    return text + " - Native error: " + number;
}

}  // namespace

const char* VXMessageText(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(kMessages.size())) return kMessages[0];
    return kMessages[static_cast<size_t>(index)];
}

int32_t VXMessageIndexOfCode(int32_t code) {
    if (code < 0 || code >= static_cast<int32_t>(kCodeToMessage.size())) return 0;
    int32_t index = kCodeToMessage[static_cast<size_t>(code)];
    return index < 0 ? 0 : index;
}

EVXException::EVXException(int32_t code, const TComponent* archiver)
    : Exception(BuildMessage(code, VXMessageIndexOfCode(code), nullptr, archiver)),
      ErrorCode(VXMessageIndexOfCode(code)),
      NativeError(code) {}

EVXException::EVXException(int32_t code, const std::string& argument, const TComponent* archiver)
    : Exception(BuildMessage(code, VXMessageIndexOfCode(code), &argument, archiver)),
      ErrorCode(VXMessageIndexOfCode(code)),
      NativeError(code) {}
