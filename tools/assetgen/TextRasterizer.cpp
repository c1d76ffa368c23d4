// Lettering through FreeType: anti-aliased glyph bitmaps laid out into one coverage mask.
#include "assetgen/TextRasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>

TextRasterizer::TextRasterizer(const std::string& fontFile) {
    if (FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        return;
    }
    if (FT_New_Face(library, fontFile.c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "assetgen: cannot load font %s\n", fontFile.c_str());
        face = nullptr;
    }
}

TextRasterizer::~TextRasterizer() {
    if (face != nullptr) {
        FT_Done_Face(face);
    }
    if (library != nullptr) {
        FT_Done_FreeType(library);
    }
}

namespace {

struct Placed {
    FT_UInt index;
    long penX; // 26.6 fixed point
};

} // namespace

Mask TextRasterizer::render(const std::string& text, int emPixels, float tracking, int padding,
                            int& baseline, int& capHeight) const {
    baseline = padding;
    capHeight = 0;
    if (face == nullptr) {
        return Mask(1, 1);
    }
    FT_Set_Pixel_Sizes(face, 0, emPixels);
    const long trackingUnits = static_cast<long>(tracking * emPixels * 64.0f);

    // First pass: pen positions and the ink box relative to the base line.
    std::vector<Placed> glyphs;
    long pen = 0;
    FT_UInt previous = 0;
    int left = 1 << 30, right = -(1 << 30), top = -(1 << 30), bottom = 1 << 30;
    for (unsigned char ch : text) {
        const FT_UInt index = FT_Get_Char_Index(face, ch);
        if (previous != 0 && index != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern);
            pen += kern.x;
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_GlyphSlot slot = face->glyph;
        const int gx = static_cast<int>(pen >> 6) + slot->bitmap_left;
        if (slot->bitmap.width > 0) {
            left = std::min(left, gx);
            right = std::max(right, gx + static_cast<int>(slot->bitmap.width));
            top = std::max(top, slot->bitmap_top);
            bottom = std::min(bottom, slot->bitmap_top - static_cast<int>(slot->bitmap.rows));
        }
        glyphs.push_back(Placed{index, pen});
        pen += slot->advance.x + trackingUnits;
        previous = index;
    }
    if (right < left) {
        return Mask(1, 1);
    }
    if (FT_Load_Char(face, 'H', FT_LOAD_DEFAULT) == 0) {
        capHeight = static_cast<int>(face->glyph->metrics.height >> 6);
    }

    Mask mask(right - left + 2 * padding, top - bottom + 2 * padding);
    baseline = padding + top;
    for (const Placed& g : glyphs) {
        if (FT_Load_Glyph(face, g.index, FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_Bitmap& bmp = face->glyph->bitmap;
        const int ox = static_cast<int>(g.penX >> 6) + face->glyph->bitmap_left - left + padding;
        const int oy = baseline - face->glyph->bitmap_top;
        for (unsigned r = 0; r < bmp.rows; ++r) {
            for (unsigned c = 0; c < bmp.width; ++c) {
                const float v = bmp.buffer[r * bmp.pitch + c] / 255.0f;
                float& dst = mask.at(ox + static_cast<int>(c), oy + static_cast<int>(r));
                dst = std::max(dst, v);
            }
        }
    }
    return mask;
}
