#pragma once
// The archiver's message table: the fixed English texts of EVXException (declared with the
// codes in common.h) and the code each text belongs to.
#include <cstdint>

#include "archiver/common.h"

// The message text for a message index (0 to 17); "Unknown error" outside that range.
const char* VXMessageText(int32_t index);
// The message index a code maps to; 0 for codes without a message of their own.
int32_t VXMessageIndexOfCode(int32_t code);
