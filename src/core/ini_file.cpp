#include "core/ini_file.h"

#include <windows.h>

#include "core/exceptions.h"
#include "core/patience.h"
#include "core/ini_values.h"
#include "core/text.h"

namespace {
// Stands in for "no such key" on the second look-up: a stored value is never this one control
// character, and the caller's own default may not survive the platform unchanged (it trims it).
constexpr const char* kMissing = "\x01";

std::string GetProfile(const std::string& file, const std::string& section, const std::string& key,
                       const char* def) {
    char buf[TIniFile::BufferSize];
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def, buf, sizeof buf, file.c_str());
    return std::string(buf, n);
}
}  // namespace

TIniFile::~TIniFile() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, fileName_.c_str()); }

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
    std::string value = GetProfile(fileName_, section, key, "");
    if (!value.empty()) return value;
    // Empty: a key stored with an empty value, or no key at all.
    if (GetProfile(fileName_, section, key, kMissing) == kMissing) return def;
    return value;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    const std::string text = ProtectQuotes(value);
    // A program that reads the file just written shuts writers out meanwhile.
    const unsigned long refused = TryPatiently(
        [&] { return WritePrivateProfileStringA(section.c_str(), key.c_str(), text.c_str(), fileName_.c_str()) != 0; },
        [](unsigned long error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; });
    if (refused) throw Exception(Format("Unable to write to %s", fileName_.c_str()));
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    int value;
    return TryParseInt(ReadString(section, key, ""), value) ? value : def;
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, Format("%d", value));
}

