#pragma once
// Where the dialog keeps its settings. The settings component names its file without a folder,
// which the platform puts in the Windows folder: a standard user (and an administrator without
// elevation, the program runs as invoker) cannot write there on Windows Vista and later. So the
// program keeps the file in the user's application-data folder instead, under Snimanje\, and
// takes over a file an earlier version left in the Windows folder the first time.
#include <string>

// The full name for the settings file called fileName. A name that already carries a folder is
// returned as it is. The folder is made when missing; when the per-user file is missing and the
// Windows folder holds one of that name (as the earlier version saw it: the user's virtual-store
// copy in its place when there is one), it is copied over once. Without an application-data
// folder that can be made, the bare name (the Windows folder) as before. A folder whose name the
// program's code page cannot carry is named by its short name; without one, there is none.
std::string UserSettingsFile(const std::string& fileName);
