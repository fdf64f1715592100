// Holds one file open without sharing until it is terminated: another process that has the
// file, as a database server or a virus scanner would.
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    HANDLE h = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    Sleep(INFINITE);
    return 0;
}
