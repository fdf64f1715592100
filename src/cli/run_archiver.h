#pragma once
// What vorbex.exe does once its command line is understood.
#include <ostream>

#include "cli/command_line.h"

class TVorbex;

// Adds the masks' files to the archive (a new one unless Update), or lists it, with archiver (a
// new one). A BASEDIR that is no folder raises EUsageError before the archive is touched; other
// failures are raised as the archiver's and the streams' exceptions.
void RunArchiver(TVorbex& archiver, const TCommandLine& line, std::ostream& out);
