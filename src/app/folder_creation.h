#pragma once
// Creating a folder together with its missing parents.
#include <string>

// Creates folder level by level below its drive. True when the folder is there afterwards (or
// nothing needed making: a drive, a text under three characters). An empty text, which a
// relative path with a missing first part comes down to, raises EInOutError
// "Unable to create directory" with code 3.
bool ForceDirectories(std::string folder);
