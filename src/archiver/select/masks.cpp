#include "archiver/select/masks.h"

#include <array>
#include <mutex>

#include "archiver/select/masks_platform.h"
#include "archiver/select/path_resolution.h"
#include "archiver/select/wildcard.h"
#include "core/paths.h"

namespace {

constexpr uint32_t TurkishLocaleId = 1055;

struct TCharTables {
    std::array<uint8_t, 256> RankTable{};
    std::array<uint8_t, 256> UpperTable{};
    bool RanksDistinct = false;
};

TCharTables& Tables() {
    static TCharTables tables;
    return tables;
}

// Code page 1254: "i" pairs with the dotted capital I (DD) and the dotless small i (FD) with "I".
uint8_t TurkishUpper(uint8_t c) {
    if (c == 'i') return 0xDD;
    if (c >= 'a' && c <= 'z') return static_cast<uint8_t>(c - 0x20);
    if (c == 0xFD) return 'I';
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7 && c != 0xF8) return static_cast<uint8_t>(c - 0x20);
    return c;
}

void BuildTables(TCharTables& t) {
    const bool turkish = UserDefaultLocaleId() == TurkishLocaleId;
    // Only equality of ranks is ever asked, so under the Turkish locale any permutation of
    // 0-255 serves as the rank table; the identity is the simplest.
    for (int x = 0; x < 256; ++x) {
        if (turkish) {
            t.RankTable[x] = static_cast<uint8_t>(x);
            continue;
        }
        int before = 0;
        for (int y = 0; y < 256; ++y)
            if (CompareCharsInUserLocale(static_cast<uint8_t>(y), static_cast<uint8_t>(x), false) < 0) ++before;
        t.RankTable[x] = static_cast<uint8_t>(before > 255 ? 255 : before);
    }
    std::array<bool, 256> seen{};
    for (uint8_t rank : t.RankTable) seen[rank] = true;
    t.RanksDistinct = true;
    for (bool s : seen) t.RanksDistinct = t.RanksDistinct && s;
    if (!t.RanksDistinct) return;
    for (int x = 0; x < 256; ++x) {
        const uint8_t c = static_cast<uint8_t>(x);
        const uint8_t upper = turkish ? TurkishUpper(c) : UpperCharInUserLocale(c);
        t.UpperTable[t.RankTable[x]] = t.RankTable[upper];
    }
}

}  // namespace

void InitCharTables() {
    static std::once_flag once;
    std::call_once(once, [] { BuildTables(Tables()); });
}

bool SameChar(uint8_t a, uint8_t b, bool ignoreCase) {
    InitCharTables();
    const TCharTables& t = Tables();
    if (t.RanksDistinct) {
        if (a == b) return true;
        return ignoreCase && t.UpperTable[t.RankTable[a]] == t.UpperTable[t.RankTable[b]];
    }
    return CompareCharsInUserLocale(a, b, ignoreCase) == 0;
}

bool WildcardMatch(const std::string& name, const std::string& pattern, bool ignoreCase) {
    return MatchWildcard(name, pattern, [ignoreCase](uint8_t a, uint8_t b) { return SameChar(a, b, ignoreCase); });
}

// The platform's way would be to make each folder current in turn and read the current folder
// back; TFolderWalk gives the same answers without touching the process-wide current folder.
bool MatchesMask(const std::string& path, const std::string& mask, const std::string& baseDir) {
    const std::string maskName = ExtractFileName(mask);
    if (maskName.empty()) return false;
    if (!WildcardMatch(ExtractFileName(path), maskName, true)) return false;
    TFolderWalk walk;
    const std::string original = walk.Current();
    walk.Enter(ExtractFilePath(path));
    const std::string pathFolder = walk.Current();
    if (baseDir.empty())
        walk.Reset(original);
    else
        walk.Enter(baseDir);
    walk.Enter(ExtractFilePath(mask));
    return walk.Current() == pathFolder;
}
