#include "settings/store/placement_text.h"

#include <algorithm>

#include "core/ini_values.h"
#include "core/text.h"

std::string FormatPosition(const std::array<int, 4>& v) { return Format("%d,%d,%d,%d", v[0], v[1], v[2], v[3]); }

namespace {
// No screen reaches a million pixels; a hand-edited value beyond that would only overflow the
// arithmetic that places the window (its left edge plus its width).
constexpr int kFarthestPosition = 1 << 20;
}  // namespace

std::array<int, 4> ParsePosition(const std::string& text, const std::array<int, 4>& defaults) {
    std::array<int, 4> out = defaults;
    auto isDelimiter = [](char c) { return c == ' ' || c == ','; };
    size_t i = 0;
    for (size_t word = 0; word < out.size(); ++word) {
        while (i < text.size() && isDelimiter(text[i])) ++i;
        size_t b = i;
        while (i < text.size() && !isDelimiter(text[i])) ++i;
        int v;
        if (TryParseInt(text.substr(b, i - b), v)) out[word] = std::clamp(v, -kFarthestPosition, kFarthestPosition);
    }
    return out;
}

std::string ScreenSizeSuffix(int width, int height) { return Format("(%dx%d)", width, height); }

TStoredWindowState StateOfShowCmd(int showCmd, TStoredWindowState fallback) {
    switch (showCmd) {
        case 1:
        case 5:
        case 9: return TStoredWindowState::swsNormal;
        case 2:
        case 6:
        case 7: return TStoredWindowState::swsMinimized;
        case 3: return TStoredWindowState::swsMaximized;
        default: return fallback;
    }
}
