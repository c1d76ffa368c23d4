// Styled lettering: a word rasterised large with gradient fill, bevel light, outline, glow and
// drop shadow, ready to be shrunk onto a card or into a font cell.
#pragma once

#include <string>

#include "assetgen/Canvas.h"
#include "assetgen/TextRasterizer.h"

struct LetterStyle {
    // Fill: a vertical gradient over the capital height, top to base line. With chrome on,
    // the fill splits at the middle into a sky half and a ground half, like polished metal.
    Color top = Color::hex(0xffffff);
    Color middle = Color::hex(0xb0c4de);
    Color bottom = Color::hex(0x405070);
    bool chrome = false;
    Color chromeGround = Color::hex(0x3a2a1a);
    // Widths are fractions of the em.
    float tracking = 0.02f;
    float bevelWidth = 0.035f;
    float bevelLight = 0.45f;
    Color outline = Color::hex(0x0a1020);
    float outlineWidth = 0.025f;
    Color glow = Color::rgb(0.3f, 0.6f, 1.0f, 0.55f);
    float glowRadius = 0.06f;
    Color shadow = Color::rgb(0.0f, 0.0f, 0.0f, 0.6f);
    float shadowOffset = 0.03f;
};

class WordArt {
  public:
    // The word at emPixels per em on a transparent canvas just large enough for its effects.
    // baseline and capHeight, when given, receive the base line's row and the capital height.
    static Canvas render(const TextRasterizer& font, const std::string& text,
                         const LetterStyle& style, int emPixels, int* baseline = nullptr,
                         int* capHeight = nullptr);
    // The fill colour at height yn above the base line, in capital heights (0 base, 1 top).
    static Color fillAt(const LetterStyle& style, float yn);
};
