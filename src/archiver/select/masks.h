#pragma once
// File masks. Paths are ANSI texts with backslash separators; the name part of a path or mask is
// what follows its last backslash or colon, the folder part (core's ExtractFilePath) the rest.
#include <cstdint>
#include <string>

// Does the absolute path match the mask? The name part by WildcardMatch (case ignored), the
// folder part by comparing absolute folders; a relative mask folder counts from baseDir.
bool MatchesMask(const std::string& path, const std::string& mask, const std::string& baseDir);

// "*" matches any run of characters (the dot included), "?" exactly one; a pattern of "*.*"
// matches every name.
bool WildcardMatch(const std::string& name, const std::string& pattern, bool ignoreCase);
bool SameChar(uint8_t a, uint8_t b, bool ignoreCase);

// Builds the locale's character tables; runs once per process (later calls do nothing).
void InitCharTables();
