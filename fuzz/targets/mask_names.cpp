// The wildcard matcher of file masks and the stored-name maker. The input holds a name, a
// pattern, a base folder and a path, separated by zero bytes. The matcher answers within its
// time limit and agrees with the rules read literally (on short texts, where trying every way
// of matching is cheap); the stored name of any absolute path has no drive, no backslash and, unless the
// full path is kept, no leading separator.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "archiver/select/stored_names.h"
#include "archiver/select/wildcard.h"

namespace {

std::vector<std::string> Fields(const uint8_t* data, size_t size, size_t count) {
    std::vector<std::string> out(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && out.size() < count)
            out.emplace_back();
        else
            out.back() += static_cast<char>(data[i]);
    }
    out.resize(count);
    return out;
}

bool SameAsciiFolded(uint8_t a, uint8_t b) {
    auto up = [](uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 32) : c; };
    return up(a) == up(b);
}

// The rules word for word: "*.*" from the current position matches; a rest of exactly "*"
// matches; a "*" tries every shorter rest of the name in turn.
bool Literal(const std::string& name, size_t n, const std::string& pattern, size_t p) {
    if (pattern.compare(p, std::string::npos, "*.*") == 0) return true;
    for (;;) {
        if (pattern.compare(p, std::string::npos, "*") == 0) return true;
        if (n >= name.size()) return p >= pattern.size();
        if (p >= pattern.size()) return false;
        if (pattern[p] == '*') {
            for (size_t k = n; k < name.size(); ++k)
                if (Literal(name, k, pattern, p + 1)) return true;
            return false;
        }
        if (pattern[p] != '?' && !SameAsciiFolded(static_cast<uint8_t>(name[n]), static_cast<uint8_t>(pattern[p])))
            return false;
        ++n;
        ++p;
    }
}

// An absolute path as the platform's full-path expansion gives one: a drive, single
// backslashes, no "." or ".." folders, no further colon.
std::string AsFullPath(const std::string& text, char drive) {
    std::string out = std::string(1, drive) + ":";
    std::string part;
    auto flush = [&] {
        if (!part.empty() && part != "." && part != "..") out += "\\" + part;
        part.clear();
    };
    for (char c : text) {
        if (c == '\\')
            flush();
        else if (c != ':' && c != '/' && c != 0)
            part += c;
    }
    flush();
    return out.size() == 2 ? out + "\\" : out;
}

size_t Stars(const std::string& s) {
    size_t n = 0;
    for (char c : s) n += c == '*';
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::vector<std::string> f = Fields(data + 1, size - 1, 4);
    const std::string &name = f[0], &pattern = f[1];
    const std::string base = AsFullPath(f[2], data[0] & 4 ? 'd' : 'c'), path = AsFullPath(f[3], 'c');

    const bool matches = MatchWildcard(name, pattern, SameAsciiFolded);
    if (name.size() <= 12 && Stars(pattern) <= 4 && matches != Literal(name, 0, pattern, 0)) abort();

    const auto mode = static_cast<TVXStorePathMode>(data[0] % 3);
    const std::string stored = StoredNameOf(path, base, mode);
    if (stored.find('\\') != std::string::npos) abort();
    if (stored.size() >= 2 && stored[1] == ':' && std::isalpha(static_cast<unsigned char>(stored[0]))) abort();
    if (mode != spFullPath && !stored.empty() && stored[0] == '/') abort();
    return 0;
}
