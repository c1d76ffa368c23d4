// Where a glyph's ink lies in a font sheet's mask: its bounding box and its weighted centre.
#pragma once

#include <algorithm>

struct GlyphInk {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    double cx = 0.0, cy = 0.0, weight = 0.0;
};

// The ink in [x0, x1) x [y0, y1): texels where darkness(x, y), in levels of 255 by which the
// mask darkens the background, is above 16.
template <class Darkness> GlyphInk glyphInk(Darkness darkness, int x0, int y0, int x1, int y1) {
    GlyphInk ink;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const double dark = darkness(x, y);
            if (dark > 16.0) {
                ink.x0 = std::min(ink.x0, x);
                ink.y0 = std::min(ink.y0, y);
                ink.x1 = std::max(ink.x1, x);
                ink.y1 = std::max(ink.y1, y);
                ink.cx += dark * x;
                ink.cy += dark * y;
                ink.weight += dark;
            }
        }
    }
    if (ink.weight > 0.0) {
        ink.cx /= ink.weight;
        ink.cy /= ink.weight;
    }
    return ink;
}
