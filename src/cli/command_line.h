#pragma once
// The command line of vorbex.exe:
//   vorbex [-u] [-n] [-m N] [-t N] [-p PASSWORD] ARCHIVE BASEDIR MASK...   create (or with -u, extend)
//   vorbex -l ARCHIVE                                        list the directory
//   vorbex -T [-p PASSWORD] ARCHIVE...                       test archives as they lie on the disk
#include <stdexcept>
#include <string>
#include <vector>

struct TCommandLine {
    bool Update = false;
    bool List = false;
    bool Test = false;
    bool Verify = true;  // read the archive back after writing; -n skips it
    int CompressionMode = 1;
    unsigned Threads = 0;  // deflate threads per entry; 0: one per processor
    std::string Password;
    std::string Archive;
    std::string BaseDir;
    std::vector<std::string> Masks;
    std::vector<std::string> Archives;  // of -T
};

class EUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// args without the program name; raises EUsageError naming what is wrong.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

extern const char* const kUsageText;
