#include "core/machine_lock.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace {

// The path as the file system compares names: upper case, one kind of slash.
std::wstring ComparedPath(const std::string& path) {
    std::wstring wide(path.size(), L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(),
                                      static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
    std::wstring upper(wide.size(), L'\0');
    if (!wide.empty() && LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), static_cast<int>(wide.size()),
                                      upper.data(), static_cast<int>(upper.size())) != static_cast<int>(wide.size()))
        upper = wide;
    for (wchar_t& c : upper)
        if (c == L'/') c = L'\\';
    return upper;
}

// An object name holds no backslash after its namespace and at most MAX_PATH characters, which
// a long path with the prefix would pass: the name is a hash of the path instead (FNV-1a, 64
// bits; two paths of one machine that share it are not to be expected).
std::wstring LockName(const std::string& path) {
    uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : ComparedPath(path)) {
        hash = (hash ^ static_cast<uint16_t>(c)) * 1099511628211ull;
    }
    wchar_t digits[17];
    for (int i = 15; i >= 0; --i, hash >>= 4) digits[i] = L"0123456789ABCDEF"[hash & 15];
    digits[16] = 0;
    // Global\: one name for all sessions, so that two users of one terminal server meet too.
    return std::wstring(L"Global\\Snimanje.") + digits;
}

}  // namespace

TMachineLock::TMachineLock(const std::string& path) {
    HANDLE h = CreateMutexW(nullptr, FALSE, LockName(path).c_str());
    // Refused: another user's process made it, and it exists only while a holder has it open.
    if (!h) return;
    handle_ = h;
    // An abandoned lock is one whose holder ended without letting go: it is free.
    const DWORD got = WaitForSingleObject(h, 0);
    held_ = got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
}

TMachineLock::~TMachineLock() {
    if (!handle_) return;
    if (held_) ReleaseMutex(handle_);
    CloseHandle(handle_);
}
