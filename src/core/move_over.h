#pragma once
// Putting a finished file in place of another in one step, and removing one that did not get
// there.
//
// A file just written is often opened for a moment by another program (a virus scanner, an
// indexer, the sync client of a synchronised folder) which may not share its deletion; Windows
// then refuses to rename or delete it. Both functions here wait for such a look to end, a few
// seconds at most, before they give up.
#include <string>

// Renames from to to, replacing a file of that name, written through to the disk; both must be
// on one volume. Returns 0, or the system's error number when the rename is refused. Windows
// refuses to replace a file that another program has open with "access denied", as it refuses
// a read-only one; a file held open is reported as ERROR_SHARING_VIOLATION instead, so that the
// two can be told apart.
unsigned long MoveOver(const std::string& from, const std::string& to);

// Deletes path; true when it is gone (or was not there).
bool RemoveFile(const std::string& path);
