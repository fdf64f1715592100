#pragma once
// The platform services behind mask matching and stored names: the user's locale for
// comparing and upper-casing single characters. Comparing whole texts without regard to case
// (SameTextIgnoringCase) and path expansion (FullPathName) come from the core.
#include <cstdint>
#include <string>

#include "core/regional.h"

uint32_t UserDefaultLocaleId();
// Locale-aware comparison of two one-character texts: negative, 0 or positive.
int CompareCharsInUserLocale(uint8_t a, uint8_t b, bool ignoreCase);
uint8_t UpperCharInUserLocale(uint8_t c);
