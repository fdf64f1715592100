#pragma once
// Test seam of the file layer: a test has the system refuse a step on a file with the error
// number of its choosing, as a USB stick pulled out, a share that drops or a bad sector would
// (Wine cannot pull a drive). The file streams, the staging copy and the rename ask it before
// each call; with no handler set, as in the program, every call goes to the system untouched.
#include <functional>
#include <string>

enum class TFileStep { Open, Read, Write, Flush, Rename };

// Returns 0 to let the step go on, or the error number the step fails with. path: the file
// opened, read, written or flushed; for a rename, the name the file takes.
using TFileFault = std::function<unsigned long(TFileStep step, const std::string& path)>;

// Replaces the handler (an empty one removes it). Not for the program: only tests set one.
void SetFileFault(TFileFault fault);

// The handler's answer for a step (0 without a handler); a refusal is also the thread's last
// error, so that the failing call's caller reads it as it reads the system's.
unsigned long FileFault(TFileStep step, const std::string& path);
