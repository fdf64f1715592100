#pragma once
// The texts of INI values: the quote protection a written value needs, and integers read back.
#include <string>

// The quote protection of WriteString on its own: the text that has to go into the file so that
// a read gives back value.
std::string ProtectQuotes(const std::string& value);

// Decimal integer with an optional sign and surrounding blanks; false for anything else or a
// value outside 32 bits.
bool TryParseInt(const std::string& text, int& out);
bool TryParseInt64(const std::string& text, long long& out);
