#include "archiver/select/wildcard.h"

#include <vector>

namespace {

// The rules' recursion, with every position pair from which the rest was found not to match
// remembered, and for each star the first name position from which no later split matches: a
// pattern of many stars would otherwise try each way of splitting the name among them, which
// grows exponentially with the stars (a mask of forty of them did not finish). The work is now
// bounded by the product of the two lengths.
class TMatcher {
public:
    TMatcher(const std::string& name, const std::string& pattern, const TSameChar& sameChar)
        : name_(name),
          pattern_(pattern),
          sameChar_(sameChar),
          failed_((name.size() + 1) * (pattern.size() + 1)),
          restFailed_((name.size() + 1) * (pattern.size() + 1)) {}

    bool MatchAt(size_t n, size_t p) {
        const size_t at = Index(n, p);
        if (failed_[at]) return false;
        const bool matches = Match(n, p);
        failed_[at] = !matches;
        return matches;
    }

private:
    size_t Index(size_t n, size_t p) const { return n * (pattern_.size() + 1) + p; }

    bool Match(size_t n, size_t p) {
        if (pattern_.compare(p, std::string::npos, "*.*") == 0) return true;
        for (;;) {
            if (pattern_.compare(p, std::string::npos, "*") == 0) return true;
            if (n >= name_.size()) return p >= pattern_.size();
            if (p >= pattern_.size()) return false;
            const char pc = pattern_[p];
            if (pc == '*') return SomeSplitFrom(n, p);
            if (pc != '?' && !sameChar_(static_cast<uint8_t>(name_[n]), static_cast<uint8_t>(pc))) return false;
            ++n;
            ++p;
        }
    }

    // Whether the star at p can end before some name position k >= n (k short of the name's end)
    // with the rest of the pattern matching from there.
    bool SomeSplitFrom(size_t n, size_t p) {
        size_t k = n;
        for (; k < name_.size() && !restFailed_[Index(k, p)]; ++k)
            if (MatchAt(k, p + 1)) return true;
        for (size_t j = n; j < k; ++j) restFailed_[Index(j, p)] = true;
        return false;
    }

    const std::string& name_;
    const std::string& pattern_;
    const TSameChar& sameChar_;
    std::vector<bool> failed_;
    std::vector<bool> restFailed_;  // no split of the star at p from name position n on matches
};

}  // namespace

bool MatchWildcard(const std::string& name, const std::string& pattern, const TSameChar& sameChar) {
    return TMatcher(name, pattern, sameChar).MatchAt(0, 0);
}
