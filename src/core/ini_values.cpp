#include "core/ini_values.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "core/text.h"

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
