// The values kept in the settings file, read back: integers, the window position, and every
// kind of published property through its text. Reading any text leaves a property with a value
// whose text reads back to the same value; integers are taken exactly when they are decimal
// numbers within range; floating-point texts are stable after one round.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/ini_values.h"
#include "core/regional.h"
#include "settings/store/placement_text.h"
#include "settings/store/prop_values.h"
#include "support/sample_component.h"

namespace {

// Blanks and control characters around a decimal number with an optional sign.
bool ReferenceInt64(const std::string& text, long long& out) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
    size_t i = b;
    const bool negative = i < e && text[i] == '-';
    if (i < e && (text[i] == '-' || text[i] == '+')) ++i;
    if (i == e) return false;
    __int128 v = 0;
    for (; i < e; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
        if (v > (__int128{1} << 64)) return false;
    }
    if (negative) v = -v;
    if (v < INT64_MIN || v > INT64_MAX) return false;
    out = static_cast<long long>(v);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    TRegionalSettings regional = ReadRegionalSettings();
    regional.DecimalSeparator = data[0] & 1 ? ',' : '.';
    SetRegionalSettings(regional);
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    long long wide = 0, expected = 0;
    const bool taken = TryParseInt64(text, wide);
    if (taken != ReferenceInt64(text, expected) || (taken && wide != expected)) abort();
    int narrow = 0;
    if (TryParseInt(text, narrow) != (taken && wide >= INT32_MIN && wide <= INT32_MAX)) abort();

    const std::array<int, 4> defaults{1, 2, 3, 4};
    const std::array<int, 4> position = ParsePosition(text, defaults);
    if (ParsePosition(FormatPosition(position), defaults) != position) abort();

    TSampleComponent sample(nullptr), copy(nullptr);
    const auto props = sample.ClassInfo().AllProps();
    const TPropInfo& prop = *props[data[1] % props.size()];
    AssignPropertyText(sample, prop, text);
    const std::string once = PropertyValueText(sample, prop);
    AssignPropertyText(copy, prop, once);
    if (PropertyValueText(copy, prop) != once) abort();

    if (size >= 10) {
        double value;
        std::memcpy(&value, data + 2, sizeof value);
        const std::string written = FloatToSettingText(value);
        double back = 0;
        if (std::isfinite(value)) {
            if (!SettingTextToFloat(written, back) || FloatToSettingText(back) != written) abort();
        }
    }
    return 0;
}
