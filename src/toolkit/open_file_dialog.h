#pragma once
// The platform's open-file dialog, for picking one existing file. Every request goes through
// OpenFileShow, so that tests can replace the dialog with a function that answers at once, as
// they do the message boxes.
#include <functional>
#include <string>

// folder: where the dialog starts; filterName and pattern: the one filter it offers (a name
// shown in the list and a wildcard such as "*.zip"). Returns the file chosen, "" when the
// operator cancelled.
using TOpenFileHandler =
    std::function<std::string(const std::string& folder, const std::string& filterName, const std::string& pattern)>;

std::string OpenFileShow(const std::string& folder, const std::string& filterName, const std::string& pattern);

// Installs a replacement; an empty handler restores the platform's dialog. Returns the previous
// one.
TOpenFileHandler SetOpenFileHandler(TOpenFileHandler handler);
