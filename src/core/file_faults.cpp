#include "core/file_faults.h"

#include <windows.h>

namespace {
TFileFault& Handler() {
    static TFileFault handler;
    return handler;
}
}  // namespace

void SetFileFault(TFileFault fault) { Handler() = std::move(fault); }

unsigned long FileFault(TFileStep step, const std::string& path) {
    const TFileFault& handler = Handler();
    if (!handler) return 0;
    const unsigned long error = handler(step, path);
    if (error != 0) SetLastError(error);
    return error;
}
