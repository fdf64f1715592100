#pragma once
// What vorbex.exe does once its command line is understood.
#include <ostream>
#include <stdexcept>
#include <string>

#include "cli/command_line.h"

class TVorbex;

// A MASK that selected no file; the archive holds what the other masks selected.
class ENothingSelected : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text vorbex.exe shows for a failure: the exception's own, with the system's reason for a
// stream's failed read or write.
std::string VorbexFailureText(const std::exception& failure);

// Adds the masks' files to the archive, or lists it, with archiver (a new one). Without Update
// the archive is written anew under a temporary name and takes the place of an earlier one only
// once it is complete; with Update the files are appended in place. A BASEDIR that is no folder
// raises EUsageError before the archive is touched; masks that selected no file raise
// ENothingSelected once the others' files are in the archive; listing a file that holds no
// archive raises the damaged archive error (code 32); an archive that cannot be opened for
// writing (-u) raises EFOpenError before anything is written; other failures are raised as the
// archiver's and the streams' exceptions.
void RunArchiver(TVorbex& archiver, const TCommandLine& line, std::ostream& out);
