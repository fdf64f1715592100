#include "archiver/select/masks_platform.h"

#include <windows.h>

#include <vector>

uint32_t UserDefaultLocaleId() { return GetUserDefaultLCID(); }

int CompareCharsInUserLocale(uint8_t a, uint8_t b, bool ignoreCase) {
    const char left = static_cast<char>(a);
    const char right = static_cast<char>(b);
    const int result =
        CompareStringA(GetUserDefaultLCID(), ignoreCase ? NORM_IGNORECASE : 0, &left, 1, &right, 1);
    return result - CSTR_EQUAL;
}

uint8_t UpperCharInUserLocale(uint8_t c) {
    char text = static_cast<char>(c);
    CharUpperBuffA(&text, 1);
    return static_cast<uint8_t>(text);
}

std::string CurrentFolder() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    std::vector<char> buffer(needed + 1);
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::string(buffer.data(), length);
}

std::string FullPathName(const std::string& path) {
    if (path.empty()) return {};
    std::vector<char> buffer(MAX_PATH + 1);
    DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    }
    if (length == 0 || length >= buffer.size()) return {};
    return std::string(buffer.data(), length);
}
