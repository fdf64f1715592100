#pragma once
// A directory item turned into the records that carry it on disk (the central header with name,
// extra field and comment; the local header with name and ZIP64 field) and taken back from a
// loaded central header. Here, and only here, the item's 64-bit values meet the 32-bit fields:
// a value that does not fit, or that the item keeps in its ZIP64 field, reads 0xFFFFFFFF there
// and goes into a ZIP64 extra field.
#include <cstdint>
#include <string>
#include <vector>

#include "archiver/zip/dir_item.h"
#include "archiver/zip/records.h"

// The item's fixed central header with its 32-bit fields as written; the lengths of name, extra
// field and comment are left 0, and the version needed is the item's own.
TCentralHeader CentralHeaderOf(const TDirItem& item);
// Whether the item's central header needs a ZIP64 field.
bool NeedsZip64(const TDirItem& item);

// Stored names separate folders with "/"; other writers' "\\" count as the same.
std::string WithForwardSlashes(std::string name);

// The name bytes the directory writer puts on disk for an item: its LoadedName while that still
// names the same entry as StoredName, else StoredName.
const std::string& WrittenName(const TDirItem& item);

// The central header, name, extra field and comment of an item as the directory writer puts
// them on disk: lengths from the bytes actually written, a ZIP64 field appended exactly when a
// value goes there (and version 4.5 needed then). An item whose values fit and that has no kept
// extra field or comment is written as its fields and name alone.
std::vector<uint8_t> EncodeCentralEntry(const TDirItem& item);

// The fields of a loaded central header, its saturated values remembered in InZip64; the full
// values come with TakeZip64Values once ExtraBlock is set.
void TakeCentralHeader(const TCentralHeader& h, TDirItem& item);
void TakeZip64Values(TDirItem& item);

// What the local header of an entry being written announces.
struct TLocalValues {
    bool Zip64 = false;  // both sizes in a ZIP64 field, 0xFFFFFFFF in the header's own fields
    bool Encrypted = false;
    uint32_t Crc32 = 0;
    uint64_t CompressedSize = 0;
    uint64_t UncompressedSize = 0;
};

// The local header, the item's stored name and, for Zip64, the ZIP64 field.
std::vector<uint8_t> EncodeLocalEntry(const TDirItem& item, const TLocalValues& values);
