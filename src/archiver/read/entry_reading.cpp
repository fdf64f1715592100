#include "archiver/read/entry_reading.h"

#include "archiver/errors.h"
#include "archiver/zip/dir_item.h"
#include "archiver/zip/records.h"
#include "core/text.h"

namespace {
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
}  // namespace

std::string WhyUnreadable(const TDirItem& item, const std::string& password) {
    if (item.Method != kMethodStored && item.Method != kMethodDeflated)
        return Format("compression method %u cannot be read", static_cast<unsigned>(item.Method));
    if ((item.Flags & kFlagEncrypted) && password.empty()) return "encrypted, and no password was given";
    return {};
}

std::string WhatIsWrong(const EVXException& e) {
    std::string text = e.Message();
    const std::string pattern = VXMessageText(VXMessageIndexOfCode(e.NativeError));
    const size_t argument = pattern.find("%s");
    if (argument != std::string::npos && text.compare(0, argument, pattern, 0, argument) == 0) text.erase(0, argument);
    const size_t code = text.rfind(" - Native error: ");
    if (code != std::string::npos) text.erase(code);
    return text;
}
