#pragma once
// vorbex -T: archives tested as they lie on the disk, in the manner of unzip -t. Each ARCHIVE
// gets a line per entry ("OK", or what is wrong with it) and a summary; several archives end
// with a count. Nothing is written to an archive.
#include <ostream>

#include "cli/command_line.h"

// Returns the exit code: 0 when every archive and entry is sound, 1 when any is not (or cannot
// be opened).
int TestArchives(const TCommandLine& line, std::ostream& out);
