#pragma once
// Sizes as a person reads them: "0,8 MB", "320 MB", "1,2 GB" (a decimal comma, 1 MB = 2^20 bytes).
#include <cstdint>
#include <string>

// Rounded down (a space free) or, with up, up (a space needed), so that a need that is more
// than what is free never reads as less.
std::string SizeText(uint64_t bytes, bool up = false);
