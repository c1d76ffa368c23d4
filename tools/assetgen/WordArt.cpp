// Styled lettering composed in layers: shadow, glow, outline, then the lit gradient fill.
#include "assetgen/WordArt.h"

#include <cmath>

Color WordArt::fillAt(const LetterStyle& style, float yn) {
    if (style.chrome) {
        // Sky above the horizon line, a dark ground below it rising to a bright rim.
        if (yn >= 0.5f) {
            return Color::mix(style.middle, style.top, smoothstep(0.5f, 1.05f, yn));
        }
        const float t = smoothstep(0.0f, 0.5f, yn);
        return Color::mix(style.bottom, style.chromeGround, std::pow(t, 0.7f));
    }
    if (yn >= 0.5f) {
        return Color::mix(style.middle, style.top, smoothstep(0.5f, 1.0f, yn));
    }
    return Color::mix(style.bottom, style.middle, smoothstep(0.0f, 0.5f, yn));
}

namespace {

// Sample of a distance field with clamping at the border.
float fieldAt(const Mask& m, int x, int y) {
    x = std::min(std::max(x, 0), m.width() - 1);
    y = std::min(std::max(y, 0), m.height() - 1);
    return m.at(x, y);
}

} // namespace

Canvas WordArt::render(const TextRasterizer& font, const std::string& text,
                       const LetterStyle& style, int emPixels, int* baselineOut,
                       int* capHeightOut) {
    const float em = static_cast<float>(emPixels);
    const float glowR = style.glowRadius * em;
    const float outlineW = style.outlineWidth * em;
    const float shadowOff = style.shadowOffset * em;
    const int padding = static_cast<int>(std::ceil(outlineW + shadowOff + 3.0f * glowR)) + 2;
    int baseline = 0, capHeight = 0;
    const Mask cover = font.render(text, emPixels, style.tracking, padding, baseline, capHeight);
    if (baselineOut != nullptr) {
        *baselineOut = baseline;
    }
    if (capHeightOut != nullptr) {
        *capHeightOut = capHeight;
    }
    const Mask out = cover.distanceOutside();
    const Mask in = cover.distanceInside();
    const float bevelW = std::max(1.0f, style.bevelWidth * em);
    const float cap = capHeight > 0 ? static_cast<float>(capHeight) : em * 0.7f;
    const int so = static_cast<int>(std::lround(shadowOff));

    Canvas art(cover.width(), cover.height());
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            const float d = out.at(x, y);
            // Shadow: the outlined shape moved down-right, softened.
            const float ds = fieldAt(out, x - so, y - so);
            Color c = style.shadow.withCoverage(
                1.0f - smoothstep(outlineW - 0.5f * glowR, outlineW + glowR, ds));
            if (glowR > 0.0f) {
                const float g = std::exp(-std::max(0.0f, d - outlineW) / glowR);
                c = style.glow.withCoverage(g).over(c);
            }
            c = style.outline.withCoverage(clamp01(outlineW - d + 0.5f)).over(c);
            const float cov = cover.at(x, y);
            if (cov > 0.0f) {
                Color fill = fillAt(style, (baseline - (y + 0.5f)) / cap);
                // Bevel: slopes within bevelW of the edge catch light from the upper left.
                const float depth = in.at(x, y);
                if (depth < bevelW) {
                    const float gx = fieldAt(in, x + 1, y) - fieldAt(in, x - 1, y);
                    const float gy = fieldAt(in, x, y + 1) - fieldAt(in, x, y - 1);
                    const float len = std::sqrt(gx * gx + gy * gy);
                    if (len > 0.0f) {
                        // The slope faces outwards, against the inward gradient.
                        const float lit = (-gx * -0.45f + -gy * -0.89f) / len;
                        const float k = 1.0f + style.bevelLight * lit * (1.0f - depth / bevelW);
                        fill = Color{fill.r * k, fill.g * k, fill.b * k, fill.a};
                    }
                }
                c = fill.withCoverage(cov).over(c);
            }
            art.at(x, y) = c;
        }
    }
    return art;
}
