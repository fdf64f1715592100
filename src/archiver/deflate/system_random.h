#pragma once
// Random bytes from the system's cryptographic generator.
#include <cstddef>
#include <cstdint>

// Fills the buffer; raises Exception when the generator refuses.
void FillSystemRandom(uint8_t* buffer, size_t count);
