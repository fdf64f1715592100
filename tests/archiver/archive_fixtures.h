#pragma once
// Helpers of the archive engine tests: corpus and result paths, scratch folders, an archive's
// bytes and fields, and pending items fed from memory so that commits run without a folder walk.
#include <cstdint>
#include <string>
#include <vector>

class TVXBaseArchiver;

namespace archive_fixtures {

std::string CorpusPath(const std::string& name);
// Path in the folder whose archives the Linux checkers read after the tests.
std::string ResultPath(const std::string& name);
// A folder below c:\archiver_tests; ScratchFolder makes it afresh, empty.
std::string ScratchPath(const std::string& name);
std::string ScratchFolder(const std::string& name);
bool CanOpenExclusively(const std::string& path);

// A file's bytes in the form the archive streams hold them (none for a missing file).
std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// The names the checkers must find in the archive at path, in order.
void WriteExpectedNames(const std::string& path, const std::vector<std::string>& names);

uint16_t U16At(const std::vector<uint8_t>& b, size_t at);
uint32_t U32At(const std::vector<uint8_t>& b, size_t at);

// Appends a pending item whose data come from memory (owned by the item), named as given, to
// the open archiver's directory; call inside a batch.
void AppendMemoryItem(TVXBaseArchiver& archiver, const std::string& name, const std::string& data);
// Names of the current directory in order.
std::vector<std::string> ItemNames(const TVXBaseArchiver& archiver);
// The same names as the directory writer puts them on disk (other writers' backslashes kept).
std::vector<std::string> WrittenNames(const TVXBaseArchiver& archiver);

}  // namespace archive_fixtures
