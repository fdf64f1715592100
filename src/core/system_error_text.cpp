#include "core/text.h"

#include <windows.h>

std::string SysErrorMessage(unsigned long code) {
    char buf[512];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                 FORMAT_MESSAGE_ARGUMENT_ARRAY,
                             nullptr, code, 0, buf, sizeof buf, nullptr);
    std::string s(buf, n);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    return s;
}
