#include "archiver/select/wildcard.h"

namespace {

bool MatchAt(const std::string& name, size_t n, const std::string& pattern, size_t p, const TSameChar& sameChar) {
    if (pattern.compare(p, std::string::npos, "*.*") == 0) return true;
    for (;;) {
        if (pattern.compare(p, std::string::npos, "*") == 0) return true;
        if (n >= name.size()) return p >= pattern.size();
        if (p >= pattern.size()) return false;
        const char pc = pattern[p];
        if (pc == '*') {
            for (size_t k = n; k < name.size(); ++k)
                if (MatchAt(name, k, pattern, p + 1, sameChar)) return true;
            return false;
        }
        if (pc != '?' && !sameChar(static_cast<uint8_t>(name[n]), static_cast<uint8_t>(pc))) return false;
        ++n;
        ++p;
    }
}

}  // namespace

bool MatchWildcard(const std::string& name, const std::string& pattern, const TSameChar& sameChar) {
    return MatchAt(name, 0, pattern, 0, sameChar);
}
