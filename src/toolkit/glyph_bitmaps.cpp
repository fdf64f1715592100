#include "toolkit/glyph_bitmaps.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "toolkit/graphics.h"

std::string GlyphResourceName(const std::string& name, int pixelsPerInch,
                              const std::function<bool(const std::string&)>& exists) {
    // Distance in 1/96 of a percent, so that no rounding decides a tie.
    auto distance = [pixelsPerInch](const TGlyphSize& s) { return std::abs(pixelsPerInch * 100 - s.Percent * 96); };
    std::vector<TGlyphSize> sizes(std::begin(GlyphSizes), std::end(GlyphSizes));
    std::sort(sizes.begin(), sizes.end(), [&](const TGlyphSize& a, const TGlyphSize& b) {
        return distance(a) < distance(b) || (distance(a) == distance(b) && a.Percent > b.Percent);
    });
    for (const TGlyphSize& s : sizes) {
        std::string candidate = name + s.Suffix;
        if (exists(candidate)) return candidate;
    }
    return name;
}

HBITMAP LoadGlyphBitmap(const std::string& name, UINT flags) {
    if (name.empty()) return nullptr;
    HINSTANCE module = GetModuleHandleA(nullptr);
    std::string resource = GlyphResourceName(name, Screen().PixelsPerInch(), [module](const std::string& n) {
        return FindResourceA(module, n.c_str(), RT_BITMAP) != nullptr;
    });
    return static_cast<HBITMAP>(LoadImageA(module, resource.c_str(), IMAGE_BITMAP, 0, 0, flags));
}
