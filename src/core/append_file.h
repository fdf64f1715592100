#pragma once
// Adding to the end of a text file that several programs may write in turn.
#include <string>

// Appends bytes to path, creating the file when it is missing; the write lands at the end even
// when another program appended since. False when the file cannot be opened or written.
bool AppendToFile(const std::string& path, const std::string& bytes);
