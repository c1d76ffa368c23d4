// Word cards and the smiley: lettering fitted to each card's quad, drawn unsqueezed on screen.
#include "assetgen/Cards.h"

#include <cmath>

#include "assetgen/Sides.h"

namespace {

// Lettering is drawn this large for 600-line frames (in proportion for taller ones), then
// shrunk with area filtering.
const int EM_PIXELS = 360;

} // namespace

void Cards::pictureSize(float quadWidth, float quadHeight, float texelsPerUnit, int& width,
                        int& height) {
    const int ratio = static_cast<int>(std::lround(std::log2(quadWidth / quadHeight)));
    const int longSide =
        std::max(256, Sides::roundUp(std::max(quadWidth, quadHeight) * texelsPerUnit));
    width = ratio >= 0 ? longSide : longSide >> -ratio;
    height = ratio >= 0 ? longSide >> ratio : longSide;
}

Canvas Cards::makeCard(const CardLayout& layout, const FontSet& fonts) {
    const TextRasterizer& font = layout.face == Face::Bold        ? fonts.bold
                                 : layout.face == Face::Condensed ? fonts.condensed
                                                                  : fonts.serifItalic;
    int w = 0, h = 0;
    pictureSize(layout.quadWidth, layout.quadHeight, layout.texelsPerUnit * layout.scale, w, h);
    Canvas card(w, h);
    card.setLogicalSize(layout.quadWidth, layout.quadHeight);
    const int em = static_cast<int>(std::lround(EM_PIXELS * layout.scale));
    const Canvas art = WordArt::render(font, layout.text, layout.style, em);
    // Fit the art (glow included) inside the card with a small margin, in world units.
    const float margin = 0.04f * std::min(layout.quadWidth, layout.quadHeight);
    const float unitsPerPixel =
        std::min({(layout.quadWidth - 2.0f * margin) / art.width(),
                  (layout.quadHeight - 2.0f * margin) / art.height(), layout.maxEm / em});
    card.composeScaled(art, 0.5f * layout.quadWidth, 0.5f * layout.quadHeight,
                       art.width() * unitsPerPixel, art.height() * unitsPerPixel);
    return card;
}

Canvas Cards::makeSmiley(float quadWidth, float quadHeight, float texelsPerUnit) {
    int w = 0, h = 0;
    pictureSize(quadWidth, quadHeight, texelsPerUnit, w, h);
    Canvas card(w, h);
    card.setLogicalSize(quadWidth, quadHeight);
    const float cx = 0.5f * quadWidth;
    const float cy = 0.5f * quadHeight;
    const float r = 0.42f * std::min(quadWidth, quadHeight);
    const float outline = 0.06f * r;
    card.paint(4, [&](float x, float y) {
        const float dx = (x - cx) / r;
        const float dy = (y - cy) / r;
        const float d = std::sqrt(dx * dx + dy * dy);
        Color c;
        // Soft glow and a dark rim around the face.
        const float halo = std::exp(-std::max(0.0f, d - 1.0f) * 14.0f);
        c = Color::rgb(1.0f, 0.75f, 0.2f, 0.5f * halo * (1.0f - smoothstep(1.05f, 1.15f, d)));
        if (d <= 1.0f + outline / r) {
            c = Color::hex(0x2a1400).over(c);
        }
        if (d <= 1.0f) {
            // A sphere lit from the upper left: yellow that deepens to orange at the rim.
            const float lit = clamp01(
                1.0f - std::sqrt((dx + 0.35f) * (dx + 0.35f) + (dy + 0.4f) * (dy + 0.4f)) * 0.75f);
            Color face = Color::mix(Color::hex(0xe07a00), Color::hex(0xffd83a), lit);
            face = Color::mix(face, Color::hex(0xfff6c8), smoothstep(0.55f, 1.0f, lit) * 0.8f);
            const Color ink = Color::hex(0x3a1c00);
            // Eyes: upright ovals.
            for (float ex : {-0.34f, 0.34f}) {
                const float qx = (dx - ex) / 0.12f;
                const float qy = (dy + 0.25f) / 0.22f;
                if (qx * qx + qy * qy <= 1.0f) {
                    face = ink;
                }
            }
            // The smile: a thick arc of the circle around (0, -0.1) below the eyes.
            const float sr = std::sqrt(dx * dx + (dy + 0.1f) * (dy + 0.1f));
            if (std::fabs(sr - 0.55f) < 0.07f && dy > 0.12f) {
                face = ink;
            }
            // Round caps at both ends of the smile.
            for (float sx : {-1.0f, 1.0f}) {
                const float ang = 0.36f; // below the horizontal, radians
                const float px = sx * 0.55f * std::cos(ang);
                const float py = -0.1f + 0.55f * std::sin(ang);
                if ((dx - px) * (dx - px) + (dy - py) * (dy - py) < 0.07f * 0.07f) {
                    face = ink;
                }
            }
            // Specular highlight.
            const float hx = (dx + 0.42f) / 0.22f;
            const float hy = (dy + 0.5f) / 0.13f;
            const float layout = clamp01(1.0f - std::sqrt(hx * hx + hy * hy));
            face = Color::rgb(1.0f, 1.0f, 1.0f, 0.7f * smoothstep(0.0f, 0.6f, layout)).over(face);
            c = face;
        }
        return c;
    });
    return card;
}

LetterStyle Cards::chrome() {
    LetterStyle s;
    s.chrome = true;
    s.top = Color::hex(0xffffff);
    s.middle = Color::hex(0x6fa8ff);
    s.chromeGround = Color::hex(0x2a1d3a);
    s.bottom = Color::hex(0xffe2b0);
    s.outline = Color::hex(0x060a1c);
    s.glow = Color::rgb(0.25f, 0.55f, 1.0f, 0.6f);
    return s;
}

LetterStyle Cards::gold() {
    LetterStyle s;
    s.chrome = true;
    s.top = Color::hex(0xfffbe6);
    s.middle = Color::hex(0xf0a830);
    s.chromeGround = Color::hex(0x4a1c06);
    s.bottom = Color::hex(0xffd27a);
    s.outline = Color::hex(0x1a0800);
    s.glow = Color::rgb(1.0f, 0.5f, 0.1f, 0.6f);
    s.tracking = 0.06f;
    return s;
}

LetterStyle Cards::amber() {
    LetterStyle s;
    s.top = Color::hex(0xfff0c0);
    s.middle = Color::hex(0xffb347);
    s.bottom = Color::hex(0xd0521a);
    s.outline = Color::hex(0x200800);
    s.glow = Color::rgb(1.0f, 0.45f, 0.1f, 0.45f);
    s.bevelLight = 0.3f;
    return s;
}

LetterStyle Cards::pale() {
    LetterStyle s;
    s.top = Color::hex(0xffffff);
    s.middle = Color::hex(0xe4ecff);
    s.bottom = Color::hex(0x8ea4d8);
    s.outline = Color::hex(0x0a0e24);
    s.glow = Color::rgb(0.55f, 0.7f, 1.0f, 0.4f);
    return s;
}

LetterStyle Cards::red() {
    LetterStyle s;
    s.top = Color::hex(0xff8a7a);
    s.middle = Color::hex(0xf01828);
    s.bottom = Color::hex(0x780010);
    s.outline = Color::hex(0x1c0004);
    s.glow = Color::rgb(1.0f, 0.1f, 0.1f, 0.7f);
    s.glowRadius = 0.08f;
    s.bevelLight = 0.55f;
    return s;
}
