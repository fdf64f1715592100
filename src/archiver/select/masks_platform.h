#pragma once
// The platform services behind mask matching and stored names: the user's locale for
// comparing and upper-casing single characters, and path expansion for folders. Comparing
// whole texts without regard to case (SameTextIgnoringCase) comes from the core.
#include <cstdint>
#include <string>

#include "core/regional.h"

uint32_t UserDefaultLocaleId();
// Locale-aware comparison of two one-character texts: negative, 0 or positive.
int CompareCharsInUserLocale(uint8_t a, uint8_t b, bool ignoreCase);
uint8_t UpperCharInUserLocale(uint8_t c);

// The process's current folder, as the platform reports it (no trailing backslash except at a
// drive root).
std::string CurrentFolder();
// The platform's full-path expansion against the process's current folder: "." and ".." are
// resolved, forward slashes become backslashes, letter case stays. Empty on failure.
std::string FullPathName(const std::string& path);
