#pragma once
// The wildcard rules of file masks on their own, with the comparison of two characters given:
// "*" matches any run of characters (the dot included), "?" exactly one; a pattern, or the
// rest of one after a "*", that is exactly "*.*" matches every name. A "*" never matches the
// empty rest of a name unless the pattern ends in that "*": "ab**" does not match "ab".
#include <cstdint>
#include <functional>
#include <string>

using TSameChar = std::function<bool(uint8_t name, uint8_t pattern)>;

bool MatchWildcard(const std::string& name, const std::string& pattern, const TSameChar& sameChar);
