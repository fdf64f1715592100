// Holds one file open until it is terminated: another program that has the file, as a database
// server, a reader or a virus scanner would.
//   file_holder PATH ACCESS SHARING READY_EVENT [rewrite]
// ACCESS and SHARING are "r", "w", "rw" or "-" (none). READY_EVENT is set once the file is open.
// With "rewrite" the first page is written again every 10 ms, as a database server does.
#include <windows.h>

#include <cstring>

namespace {
DWORD Flags(const char* letters, DWORD read, DWORD write) {
    DWORD flags = 0;
    if (std::strchr(letters, 'r')) flags |= read;
    if (std::strchr(letters, 'w')) flags |= write;
    return flags;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    HANDLE h = CreateFileA(argv[1], Flags(argv[2], GENERIC_READ, GENERIC_WRITE), Flags(argv[3], FILE_SHARE_READ, FILE_SHARE_WRITE),
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[4]);
    if (ready) SetEvent(ready);
    const bool rewrite = argc > 5 && std::strcmp(argv[5], "rewrite") == 0;
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
