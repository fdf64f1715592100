#include "archiver/select/wildcard.h"

#include <vector>

namespace {

// The rules' recursion, with every position pair from which the rest was found not to match
// remembered: a pattern of many stars would otherwise try each way of splitting the name among
// them, which grows exponentially with the stars (a mask of forty of them did not finish).
class TMatcher {
public:
    TMatcher(const std::string& name, const std::string& pattern, const TSameChar& sameChar)
        : name_(name), pattern_(pattern), sameChar_(sameChar), failed_((name.size() + 1) * (pattern.size() + 1)) {}

    bool MatchAt(size_t n, size_t p) {
        const size_t at = n * (pattern_.size() + 1) + p;
        if (failed_[at]) return false;
        const bool matches = Match(n, p);
        failed_[at] = !matches;
        return matches;
    }

private:
    bool Match(size_t n, size_t p) {
        if (pattern_.compare(p, std::string::npos, "*.*") == 0) return true;
        for (;;) {
            if (pattern_.compare(p, std::string::npos, "*") == 0) return true;
            if (n >= name_.size()) return p >= pattern_.size();
            if (p >= pattern_.size()) return false;
            const char pc = pattern_[p];
            if (pc == '*') {
                for (size_t k = n; k < name_.size(); ++k)
                    if (MatchAt(k, p + 1)) return true;
                return false;
            }
            if (pc != '?' && !sameChar_(static_cast<uint8_t>(name_[n]), static_cast<uint8_t>(pc))) return false;
            ++n;
            ++p;
        }
    }

    const std::string& name_;
    const std::string& pattern_;
    const TSameChar& sameChar_;
    std::vector<bool> failed_;
};

}  // namespace

bool MatchWildcard(const std::string& name, const std::string& pattern, const TSameChar& sameChar) {
    return TMatcher(name, pattern, sameChar).MatchAt(0, 0);
}
