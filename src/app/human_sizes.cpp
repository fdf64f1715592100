#include "app/human_sizes.h"

#include <cmath>

#include "app/backup_texts.h"
#include "core/text.h"

namespace {

// value with one decimal (or none), rounded as asked; a decimal comma.
std::string Number(double value, bool tenths, bool up) {
    const double scale = tenths ? 10.0 : 1.0;
    const double scaled = up ? std::ceil(value * scale - 1e-9) : std::floor(value * scale + 1e-9);
    const auto whole = static_cast<unsigned long long>(scaled);
    if (!tenths) return std::to_string(whole);
    return std::to_string(whole / 10) + "," + std::to_string(whole % 10);
}

}  // namespace

std::string SizeText(uint64_t bytes, bool up) {
    constexpr double kMB = 1024.0 * 1024.0, kGB = kMB * 1024.0;
    const double b = static_cast<double>(bytes);
    if (b >= kGB) return Format(kGigabytesText, Number(b / kGB, true, up).c_str());
    return Format(kMegabytesText, Number(b / kMB, b < 10 * kMB, up).c_str());
}
