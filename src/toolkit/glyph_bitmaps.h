#pragma once
// Glyph bitmaps drawn for the screen's density. A program's glyph resource NAME is drawn for 96
// pixels per inch; NAME_150 and NAME_200, where the program has them, are the same picture
// drawn at 1.5 and 2 times that size. Enlarging a small picture would blur it, so the size
// nearest to the screen's density is picked instead.
#include <windows.h>

#include <functional>
#include <string>

// The drawn sizes, in percent of the 96-dpi size, and their resource-name suffixes.
struct TGlyphSize {
    int Percent;
    const char* Suffix;
};
constexpr TGlyphSize GlyphSizes[] = {{100, ""}, {150, "_150"}, {200, "_200"}};

// The resource to load for name at a density: the drawn size nearest to it (halfway between
// two, the larger: a glyph a little large beside its caption reads better than a small one),
// else the next nearest that exists.
std::string GlyphResourceName(const std::string& name, int pixelsPerInch,
                              const std::function<bool(const std::string&)>& exists);

// The bitmap resource name of the running program in the size for the screen's density, loaded
// with LoadImageA's flags; nullptr when the program has no such resource.
HBITMAP LoadGlyphBitmap(const std::string& name, UINT flags = 0);
