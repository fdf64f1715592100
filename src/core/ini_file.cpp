#include "core/ini_file.h"

#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "core/exceptions.h"
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
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), ProtectQuotes(value).c_str(), fileName_.c_str()))
        throw Exception(Format("Unable to write to %s", fileName_.c_str()));
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    int value;
    return TryParseInt(ReadString(section, key, ""), value) ? value : def;
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, Format("%d", value));
}

void TIniFile::UpdateFile() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, fileName_.c_str()); }

std::string ProtectQuotes(const std::string& value) {
    if (!value.empty()) {
        char first = value.front();
        if ((first == '"' || first == '\'') && value.back() == first) return '"' + value + '"';
    }
    return value;
}

bool TryParseInt64(const std::string& text, long long& out) {
    std::string s = Trim(text);
    if (s.empty()) return false;
    size_t digits = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (digits == s.size()) return false;
    for (size_t i = digits; i < s.size(); ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    errno = 0;
    long long v = std::strtoll(s.c_str(), nullptr, 10);
    if (errno == ERANGE) return false;
    out = v;
    return true;
}

bool TryParseInt(const std::string& text, int& out) {
    long long v;
    if (!TryParseInt64(text, v) || v < INT_MIN || v > INT_MAX) return false;
    out = static_cast<int>(v);
    return true;
}
