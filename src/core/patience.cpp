#include "core/patience.h"

#include <windows.h>

namespace {
// How long a passing refusal is waited out, and how often the step is tried again meanwhile.
constexpr DWORD kPatienceMs = 3000;
constexpr DWORD kRetryMs = 25;
}  // namespace

unsigned long TryPatiently(const std::function<bool()>& step, const std::function<bool(unsigned long)>& passing) {
    for (DWORD waited = 0;; waited += kRetryMs) {
        if (step()) return 0;
        const DWORD error = GetLastError();
        if (!passing(error) || waited >= kPatienceMs) return error;
        Sleep(kRetryMs);
    }
}
