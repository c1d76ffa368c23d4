// Full-screen pictures: the two overlays and the credits background.
#include "assetgen/Screens.h"

#include <cmath>
#include <vector>

#include "assetgen/Noise.h"

using assetgen::Noise;
#include "assetgen/WordArt.h"

namespace {

LetterStyle captionStyle() {
    LetterStyle s;
    s.top = Color::hex(0xfff4dc);
    s.middle = Color::hex(0xf2d7a6);
    s.bottom = Color::hex(0xc89a5c);
    s.outline = Color::rgb(0.0f, 0.0f, 0.0f, 0.7f);
    s.outlineWidth = 0.04f;
    s.glow = Color::rgb(0.0f, 0.0f, 0.0f, 0.5f);
    s.glowRadius = 0.08f;
    s.shadowOffset = 0.0f;
    s.bevelLight = 0.0f;
    s.tracking = 0.3f;
    return s;
}

// Lays a caption with its left edge at x and its centre line at y, capitals h units tall.
void caption(Canvas& c, const FontSet& fonts, const char* text, float x, float y, float h,
             float alpha) {
    // Lettered at 160 pixels an em on a picture 512 texels tall, in proportion on taller ones,
    // so the art is always shrunk onto the picture.
    const int em = static_cast<int>(std::lround(160.0f * c.height() / 512.0f));
    Canvas art = WordArt::render(fonts.bold, text, captionStyle(), em);
    for (int j = 0; j < art.height(); ++j) {
        for (int i = 0; i < art.width(); ++i) {
            art.at(i, j) = art.at(i, j).scaled(alpha);
        }
    }
    const float scale = h / (0.73f * em);
    const float w = art.width() * scale;
    c.composeScaled(art, x + 0.5f * w, y, w, art.height() * scale);
}

} // namespace

Canvas Screens::barsOverlay(const FontSet& fonts, int width, int height) {
    Canvas c(width, height);
    c.setLogicalSize(800.0f, 600.0f);
    c.paint(4, [](float x, float y) {
        const float nx = (x - 400.0f) / 400.0f;
        const float ny = (y - 300.0f) / 300.0f;
        const float r = std::sqrt(nx * nx * 0.8f + ny * ny);
        Color col = Color::rgb(0.0f, 0.0f, 0.02f, 0.8f * smoothstep(0.75f, 1.35f, r));
        // A hairline frame 16 units in, with heavier marks at the corners.
        const float m = 16.0f;
        const float fx = std::min(std::fabs(x - m), std::fabs(x - (800.0f - m)));
        const float fy = std::min(std::fabs(y - m), std::fabs(y - (600.0f - m)));
        const bool insideX = x > m - 1.0f && x < 800.0f - m + 1.0f;
        const bool insideY = y > m - 1.0f && y < 600.0f - m + 1.0f;
        if ((fx < 0.6f && insideY) || (fy < 0.6f && insideX)) {
            col = Color::rgb(0.95f, 0.88f, 0.75f, 0.35f).over(col);
        }
        const float cornerX = std::min(x - m, 800.0f - m - x);
        const float cornerY = std::min(y - m, 600.0f - m - y);
        const bool nearCorner = cornerX < 36.0f && cornerY < 36.0f;
        if (nearCorner && ((fx < 1.6f && insideY) || (fy < 1.6f && insideX))) {
            col = Color::rgb(1.0f, 0.92f, 0.78f, 0.85f).over(col);
        }
        return col;
    });
    caption(c, fonts, "VORREL QUISP", 34.0f, 34.0f, 9.0f, 0.9f);
    caption(c, fonts, "MORVANE", 680.0f, 568.0f, 7.0f, 0.7f);
    return c;
}

Canvas Screens::portholeOverlay(const FontSet& fonts, int width, int height) {
    Canvas c(width, height);
    c.setLogicalSize(800.0f, 600.0f);
    const Noise brush(41);
    const float R = 262.0f; // the clear window's radius
    const float ring = 30.0f;
    c.paint(4, [&](float x, float y) {
        const float dx = x - 400.0f;
        const float dy = y - 300.0f;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float angle = std::atan2(dy, dx);
        if (r < R) {
            // Inner shadow cast by the rim onto the view.
            return Color::rgb(0.0f, 0.0f, 0.0f,
                              0.75f * std::pow(smoothstep(R - 70.0f, R, r), 2.0f));
        }
        if (r < R + ring) {
            // The bezel: a rounded metal ring lit from the upper left.
            const float t = (r - R) / ring;
            const float profile = std::sin(3.14159265f * t);
            const float light = -std::cos(angle + 2.356f); // 1 facing the upper left
            const float k = 0.25f + 0.35f * profile + 0.3f * light * (1.0f - 2.0f * t);
            Color metal = Color::mix(Color::hex(0x1c2230), Color::hex(0xc8d2e0), clamp01(k));
            // Twelve rivets around the middle of the ring.
            const float seg = angle / 6.2831853f * 12.0f;
            const float a0 = (std::floor(seg) + 0.5f) * 6.2831853f / 12.0f;
            const float rx = 400.0f + (R + 0.5f * ring) * std::cos(a0);
            const float ry = 300.0f + (R + 0.5f * ring) * std::sin(a0);
            const float rd = std::sqrt((x - rx) * (x - rx) + (y - ry) * (y - ry));
            if (rd < 5.0f) {
                const float s = clamp01(0.55f - ((x - rx) + (y - ry)) / 10.0f);
                metal = Color::mix(Color::hex(0x202634), Color::hex(0xf0f4ff), s);
            }
            return metal;
        }
        // The hull plate around the window: dark brushed metal fading into black corners.
        const float grain = brush.fbm(x / 400.0f, y / 6.0f, 1 << 20, 1 << 20, 3);
        const float ao = smoothstep(R + ring, R + ring + 40.0f, r);
        Color plate =
            Color::rgb(0.07f + 0.02f * grain, 0.075f + 0.02f * grain, 0.09f + 0.02f * grain);
        plate = plate.scaled(0.35f + 0.65f * ao);
        const float nx = (x - 400.0f) / 400.0f;
        const float ny = (y - 300.0f) / 300.0f;
        plate = plate.scaled(1.0f - 0.5f * smoothstep(0.6f, 1.4f, nx * nx + ny * ny));
        plate.a = 1.0f;
        return plate;
    });
    caption(c, fonts, "VORREL QUISP", 28.0f, 572.0f, 8.0f, 0.8f);
    return c;
}

Canvas Screens::creditsBackground(int width, int height) {
    Canvas c(width, height);
    c.setLogicalSize(800.0f, 600.0f);
    const Noise ridge(77);
    const Noise haze(91);
    const float horizon = 330.0f;
    const float sunX = 400.0f, sunY = 205.0f, sunR = 115.0f;
    auto mountain = [&](float x, float scale, float offset, int seed) {
        const float n =
            ridge.fbm(x / 800.0f * 4.0f + seed * 3.1f, seed * 1.7f, 1 << 16, 1 << 16, 5);
        return horizon - offset - scale * (0.5f + 0.7f * n);
    };
    c.fill(3, [&](float x, float y) {
        Color col;
        if (y < horizon) {
            const float t = y / horizon;
            col = Color::mix(Color::hex(0x04031a), Color::hex(0x2a0a4a), smoothstep(0.0f, 0.6f, t));
            col = Color::mix(col, Color::hex(0xb0305a), smoothstep(0.55f, 1.0f, t));
            // Stars thin out towards the glowing horizon.
            const int gx = static_cast<int>(x / 5.0f), gy = static_cast<int>(y / 5.0f);
            const float h = Noise::hash01(static_cast<uint32_t>(gx), static_cast<uint32_t>(gy), 7);
            if (h < 0.035f) {
                const float sx = (gx + 0.5f) * 5.0f, sy = (gy + 0.5f) * 5.0f;
                const float d = std::sqrt((x - sx) * (x - sx) + (y - sy) * (y - sy));
                const float b = (0.4f + 14.0f * (0.035f - h)) * (1.0f - smoothstep(0.2f, 0.8f, t));
                col = col.plus(Color::rgb(0.9f, 0.9f, 1.0f).scaled(b * clamp01(1.2f - d)));
            }
            // The sun: yellow to magenta, cut by widening bands towards the horizon.
            const float sd = std::sqrt((x - sunX) * (x - sunX) + (y - sunY) * (y - sunY));
            col = col.plus(Color::rgb(1.0f, 0.35f, 0.45f)
                               .scaled(0.45f * std::exp(-std::max(0.0f, sd - sunR) / 50.0f)));
            if (sd < sunR) {
                const float st = (y - (sunY - sunR)) / (2.0f * sunR);
                Color sun = Color::mix(Color::hex(0xfff27a), Color::hex(0xff2f86),
                                       smoothstep(0.1f, 0.95f, st));
                const float band = (y - sunY) / 14.0f;
                const float gap = smoothstep(0.1f, 0.9f, st) * 0.45f;
                const bool cut = y > sunY && (band - std::floor(band)) < gap;
                if (!cut) {
                    col = sun;
                }
            }
            const float far = mountain(x, 70.0f, 10.0f, 1);
            if (y > far) {
                col = Color::mix(Color::hex(0x3c1450), Color::hex(0x1c0830),
                                 smoothstep(far, horizon, y));
            }
            const float near = mountain(x, 40.0f, -5.0f, 2);
            if (y > near) {
                col = Color::hex(0x0c0418);
                col = col.plus(
                    Color::rgb(1.0f, 0.3f, 0.6f).scaled(0.6f * std::exp(-(y - near) / 2.0f)));
            }
        } else {
            // The floor: a magenta grid running to the vanishing point on the horizon.
            const float depth = 40.0f / (y - horizon + 0.5f);
            Color floor = Color::mix(Color::hex(0x14041e), Color::hex(0x050008),
                                     smoothstep(horizon, 600.0f, y));
            const float gz = depth * 3.0f;
            const float fz = std::fabs(gz - std::round(gz));
            const float gxw = (x - 400.0f) * depth / 24.0f;
            const float fx = std::fabs(gxw - std::round(gxw));
            const float width = 0.02f + 0.002f * depth;
            const float line =
                std::max(1.0f - smoothstep(0.0f, width * 2.0f, fz / std::max(1.0f, depth * 0.4f)),
                         1.0f - smoothstep(0.0f, width, fx));
            const float fade = std::exp(-depth * 0.12f) * smoothstep(horizon, horizon + 30.0f, y);
            floor = floor.plus(Color::rgb(1.0f, 0.2f, 0.8f).scaled(line * fade * 0.75f));
            floor = floor.plus(
                Color::rgb(1.0f, 0.3f, 0.5f).scaled(0.5f * std::exp(-(y - horizon) / 14.0f)));
            col = floor;
        }
        const float mist = 0.5f + 0.5f * haze.fbm(x / 200.0f, y / 80.0f, 1 << 16, 1 << 16, 3);
        col = col.plus(Color::rgb(0.5f, 0.2f, 0.6f).scaled(0.05f * mist));
        col.a = 1.0f;
        return col;
    });
    return c;
}
