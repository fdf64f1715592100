#pragma once
// The file-system services the archiver's lifecycle and commit use on the archive itself and on
// its temporary tail copy.
#include <string>

// Deletes a file; false when the platform refuses.
bool DeleteArchiveFile(const std::string& path);
// The system's temporary folder as the platform reports it.
std::string SystemTempFolder();
// Creates a new, empty file named prefix + unique hex number + ".tmp" in folder and returns its
// full path; raises EFCreateError when that is impossible.
std::string CreateUniqueTempFile(const std::string& folder, const std::string& prefix);
