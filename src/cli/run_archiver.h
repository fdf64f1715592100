#pragma once
// What vorbex.exe does once its command line is understood.
#include <ostream>

#include "cli/command_line.h"

// Adds the masks' files to the archive (a new one unless Update), or lists it. Failures are
// raised as the archiver's and the streams' exceptions.
void RunArchiver(const TCommandLine& line, std::ostream& out);
