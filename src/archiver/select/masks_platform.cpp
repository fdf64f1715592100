#include "archiver/select/masks_platform.h"

#include <windows.h>

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
