#include "support/test_data.h"

namespace support {

std::string NoiseBytes(size_t n, uint32_t seed) {
    std::string s(n, '\0');
    uint32_t x = seed;
    for (char& c : s) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
    }
    return s;
}

std::string TextBytes(size_t n, uint32_t seed) {
    static const char* const words[] = {"snimanje ", "arhiva ", "podataka ", "racun ", "2024 ", "kvestra\r\n"};
    std::string s;
    s.reserve(n + 16);
    uint32_t x = seed;
    while (s.size() < n) {
        x = x * 1103515245u + 12345u;
        s += words[(x >> 16) % 6];
        if ((x >> 8) % 7 == 0) s += std::to_string(x % 100000);
    }
    s.resize(n);
    return s;
}

}  // namespace support
