#pragma once
// Files and folders that tests set up on the prefix's drives and look at afterwards.
#include <string>

namespace support {

bool Exists(const std::string& path);
// The file's bytes; "" when it cannot be read (a missing file, say).
std::string ReadBytes(const std::string& path);
// Creates or empties the file and writes bytes; raises std::runtime_error when it cannot.
void WriteBytes(const std::string& path, const std::string& bytes);
// Copies the file over whatever to names; raises std::runtime_error when it cannot.
void CopyFileTo(const std::string& from, const std::string& to);

// Deletes a folder with everything below it, read-only files included; a missing folder is
// fine.
void RemoveTree(const std::string& path);
// An empty folder at path (with its parents): whatever was there before is removed first.
std::string FreshFolder(const std::string& path);
// Files directly in folder, folders not counted.
int CountFiles(const std::string& folder);

// A file of that name in the Windows folder, where the platform keeps INI files without a
// folder.
std::string WindowsFolderFile(const std::string& name);
// Deletes such an INI file after the platform wrote out what it may still cache of it.
void DeleteIniFile(const std::string& name);

}  // namespace support
