#pragma once
// Path texts as Windows writes them (backslashes, "c:" drives) and the folders they name.
#include <string>

// The text with one backslash at its end: unchanged when it already ends in one; "" becomes "\".
std::string AddTrailingBackslash(const std::string& folder);
// name below folder, with exactly the one backslash that AddTrailingBackslash leaves between.
std::string JoinPath(const std::string& folder, const std::string& name);
// Everything up to and including the last backslash or colon ("" when there is none).
std::string ExtractFilePath(const std::string& path);
// Everything after the last backslash or colon (the whole text when there is none).
std::string ExtractFileName(const std::string& path);

// "c:" of "c:\x", "\\server\share" of "\\server\share\x", empty when the path has no drive.
std::string DrivePartOf(const std::string& path);
// The longest path the A functions take: MAX_PATH less the terminating zero.
inline constexpr std::size_t kLongestPath = 259;
// A backslash, or a forward slash, which the platform takes for one in paths.
inline bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }
// A drive letter and a colon at the start.
bool HasDriveLetter(const std::string& path);
// Two separators ("\\" or "/") at the start: a share on another machine.
bool IsUncPath(const std::string& path);

// The process's current folder, as the platform reports it (no trailing backslash except at a
// drive root).
std::string CurrentFolder();
// The platform's full-path expansion against the process's current folder: "." and ".." are
// resolved, forward slashes become backslashes, letter case stays. Empty on failure.
std::string FullPathName(const std::string& path);

// True when the path's attributes can be read and carry the directory bit.
bool IsExistingFolder(const std::string& path);
// True when the path's attributes can be read and lack the directory bit.
bool IsExistingFile(const std::string& path);

// Creates folder together with its missing parents, level by level below its drive (a forward
// slash separates levels as a backslash does). True when the folder is there afterwards (or
// nothing needed making: a drive, a text under three characters); false when a level could not
// be made (GetLastError tells why). An empty text, which a relative path with a missing first
// part comes down to, raises EInOutError "Unable to create directory" with code 3.
bool ForceDirectories(std::string folder);
