// Holds one file open until it is terminated: another program that has the file, as a database
// server, a reader or a virus scanner would.
//   file_holder PATH ACCESS SHARING READY_EVENT [rewrite|scan]
// ACCESS is "r", "w", "rw" or "-" (none); SHARING the same, with "d" for sharing deletion too.
// READY_EVENT is set once the file is open.
// With "rewrite" the first page is written again every 10 ms, as a database server does.
// With "scan" the holder is ready at once and looks at every new file of that name for a moment
// as soon as it can open it, as a virus scanner, an indexer or a sync client does with a file
// that has just been written: the file's first appearance and each file later renamed to the
// name (another file on the disk) are held for 300 ms.
// With "lock" the holder takes the machine-wide lock of PATH instead, as a running backup
// does (exit code 1 when it is taken already); ACCESS and SHARING are not looked at.
#include <windows.h>

#include <cstring>

#include "core/machine_lock.h"

namespace {
DWORD Flags(const char* letters, DWORD read, DWORD write, DWORD remove = 0) {
    DWORD flags = 0;
    if (std::strchr(letters, 'r')) flags |= read;
    if (std::strchr(letters, 'w')) flags |= write;
    if (std::strchr(letters, 'd')) flags |= remove;
    return flags;
}

void SetReady(const char* event) {
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, event);
    if (ready) SetEvent(ready);
}

[[noreturn]] void Scan(const char* path, DWORD access, DWORD sharing) {
    ULONGLONG seen = ~0ull;
    for (;;) {
        HANDLE h = CreateFileA(path, access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            Sleep(0);
            continue;
        }
        BY_HANDLE_FILE_INFORMATION info{};
        GetFileInformationByHandle(h, &info);
        const ULONGLONG id = (ULONGLONG(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        if (id != seen) {
            seen = id;
            Sleep(300);
        }
        CloseHandle(h);
        Sleep(1);
    }
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    const DWORD access = Flags(argv[2], GENERIC_READ, GENERIC_WRITE);
    const DWORD sharing = Flags(argv[3], FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_DELETE);
    const char* mode = argc > 5 ? argv[5] : "";
    if (std::strcmp(mode, "lock") == 0) {
        TMachineLock lock(argv[1]);
        if (!lock.Held()) return 1;
        SetReady(argv[4]);
        Sleep(INFINITE);
    }
    if (std::strcmp(mode, "scan") == 0) {
        SetReady(argv[4]);
        Scan(argv[1], access, sharing);
    }
    HANDLE h = CreateFileA(argv[1], access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    SetReady(argv[4]);
    const bool rewrite = std::strcmp(mode, "rewrite") == 0;
    char page[8192];
    std::memset(page, 'w', sizeof page);
    for (;;) {
        if (rewrite) {
            DWORD put;
            SetFilePointer(h, 0, nullptr, FILE_BEGIN);
            WriteFile(h, page, sizeof page, &put, nullptr);
        }
        Sleep(rewrite ? 10 : INFINITE);
    }
}
