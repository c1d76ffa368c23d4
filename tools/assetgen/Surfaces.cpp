// Seamless materials: every pattern uses whole periods of noise and whole numbers of tiles.
#include "assetgen/Surfaces.h"

#include <cmath>

#include "assetgen/Noise.h"

using assetgen::Noise;

Canvas Surfaces::marble(int size) {
    Canvas c(size, size);
    c.setLogicalSize(1.0f, 1.0f);
    const Noise warp(11);
    const Noise cloud(23);
    const Noise grain(37);
    c.fill(1, [&](float u, float v) {
        const float t1 = warp.fbm(u * 4.0f, v * 4.0f, 4, 4, 4);
        const float t2 = warp.fbm(u * 3.0f + 7.0f, v * 3.0f, 3, 3, 3);
        // Whole numbers of stripes across the tile keep the veins continuous over its edges.
        const float p1 = (u * 2.0f + v * 1.0f) + 0.7f * t1;
        const float p2 = (u * 1.0f - v * 3.0f) + 0.5f * t2;
        const float s1 = 1.0f - std::fabs(std::sin(3.14159265f * p1));
        const float s2 = 1.0f - std::fabs(std::sin(3.14159265f * p2));
        // Sharp veins with a soft halo of the same mineral around them.
        const float vein1 = std::pow(s1, 18.0f) + 0.18f * std::pow(s1, 4.0f);
        const float vein2 = std::pow(s2, 40.0f) + 0.1f * std::pow(s2, 6.0f);
        const float clouds = 0.5f + 0.5f * cloud.fbm(u * 3.0f, v * 3.0f, 3, 3, 5);
        const float fine = grain.fbm(u * 64.0f, v * 64.0f, 64, 64, 2);
        Color base = Color::mix(Color::hex(0x07080c), Color::hex(0x262a36), clouds * clouds);
        base = Color::mix(base, Color::hex(0x3a3f4c), 0.15f * (fine + 1.0f));
        Color veins = Color::mix(base, Color::hex(0xd8d2c4), clamp01(vein1 * 0.9f));
        veins = Color::mix(veins, Color::hex(0xb8a27a), clamp01(vein2 * 0.6f));
        return veins;
    });
    return c;
}

namespace {

const int PLATE_COLUMNS = 12;
const int PLATE_ROWS = 3;
const float BAND = 0.12f;         // share of the tile's length taken by the glowing ring band
const float TUBE_U = 7.85f;       // world units around the tube (2 pi r, r = 1.25)
const float TUBE_V = 3.33f;       // world units along the tube per repeat
const unsigned GROOVE = 0x040507; // the gaps between plates and the band's frame

} // namespace

Canvas Surfaces::tunnelPlates(int width, int height) {
    Canvas c(width, height);
    c.setLogicalSize(TUBE_U, TUBE_V);
    const Noise grime(5);
    const Noise streak(9);
    c.fill(3, [&](float x, float y) {
        const float u = x / TUBE_U;
        const float v = y / TUBE_V;
        if (v < BAND) {
            // The ring band: amber light cells behind a dark grille.
            const float bv = v / BAND;
            const float cells = u * 48.0f;
            const float cu = cells - std::floor(cells);
            const float edge = std::min(std::min(cu, 1.0f - cu), std::min(bv, 1.0f - bv));
            const float glow = smoothstep(0.05f, 0.25f, edge);
            const float pulse = 0.75f + 0.25f * std::sin(6.2831853f * (u * 4.0f));
            Color lamp = Color::mix(Color::hex(0xff6a10), Color::hex(0xffe6a0),
                                    smoothstep(0.2f, 0.5f, edge));
            return Color::mix(Color::hex(GROOVE), lamp.scaled(pulse), glow);
        }
        const float pvAll = (v - BAND) / (1.0f - BAND) * PLATE_ROWS;
        const int row = static_cast<int>(std::floor(pvAll));
        const float pv = pvAll - row;
        const float shift = (row % 2) * 0.5f;
        const float puAll = u * PLATE_COLUMNS + shift;
        const int col = static_cast<int>(std::floor(puAll)) % PLATE_COLUMNS;
        const float pu = puAll - std::floor(puAll);
        const float pw = TUBE_U / PLATE_COLUMNS;
        const float ph = TUBE_V * (1.0f - BAND) / PLATE_ROWS;
        const float ex = std::min(pu, 1.0f - pu) * pw;
        const float ey = std::min(pv, 1.0f - pv) * ph;
        const float e = std::min(ex, ey);
        const float gap = 0.025f;
        if (e < gap) {
            return Color::hex(GROOVE);
        }
        // Per-plate tint and wear.
        const float tint = Noise::hash01(static_cast<uint32_t>(col), static_cast<uint32_t>(row), 3);
        Color plate = Color::mix(Color::hex(0x4a5566), Color::hex(0x6d7a8c), tint);
        const float dirt = 0.5f + 0.5f * grime.fbm(u * 8.0f, v * 4.0f, 8, 4, 5);
        const float lines = streak.fbm(u * 96.0f, v * 3.0f, 96, 3, 2);
        plate = Color::mix(plate, Color::hex(0x2b2f36), 0.55f * dirt * dirt);
        plate = plate.scaled(1.0f + 0.08f * lines);
        plate.a = 1.0f;
        // Bevelled edges: lit from above-left, shaded below-right.
        const float bevel = 0.04f;
        if (e < gap + bevel) {
            const bool litSide = (ey < ex) ? pv < 0.5f : pu < 0.5f;
            const float k = 1.0f - (e - gap) / bevel;
            plate = plate.scaled(litSide ? 1.0f + 0.6f * k : 1.0f - 0.55f * k);
            plate.a = 1.0f;
        }
        // Rivets near the plate corners.
        const float inset = 0.07f;
        for (float rx : {inset, pw - inset}) {
            for (float ry : {inset, ph - inset}) {
                const float dx = pu * pw - rx;
                const float dy = pv * ph - ry;
                const float d = std::sqrt(dx * dx + dy * dy);
                if (d < 0.025f) {
                    const float shade = clamp01(0.6f - (dx + dy) / 0.05f);
                    plate = Color::mix(Color::hex(0x2a2f38), Color::hex(0xdde4ee), shade);
                }
            }
        }
        return plate;
    });
    return c;
}

Canvas Surfaces::tunnelView(const Canvas& wall, int width, int height) {
    Canvas c(width, height);
    c.setLogicalSize(800.0f, 600.0f);
    const float cx = 400.0f;
    const float cy = 300.0f;
    c.fill(4, [&](float x, float y) {
        const float dx = x - cx;
        const float dy = y - cy;
        const float r = std::sqrt(dx * dx + dy * dy) + 1e-3f;
        const float z = 260.0f / r; // distance down the tube, in tube radii
        const float angle = std::atan2(dy, dx) / 6.2831853f + 0.5f;
        const Color wallColor = wall.sampleWrapped(2.0f * angle, z * 0.55f);
        const float light = 0.85f * std::exp(-z * 0.3f);
        Color col = wallColor.scaled(light);
        const float core = std::exp(-r / 55.0f);
        col = col.plus(Color::rgb(1.0f, 0.85f, 0.55f).scaled(core * 1.2f));
        col = col.plus(Color::rgb(1.0f, 0.45f, 0.15f).scaled(0.35f * std::exp(-r / 160.0f)));
        const float vx = x / 800.0f - 0.5f;
        const float vy = y / 600.0f - 0.5f;
        const float vignette = 1.0f - 0.6f * smoothstep(0.25f, 0.75f, vx * vx + vy * vy);
        col = col.scaled(vignette);
        col.a = 1.0f;
        return col;
    });
    return c;
}
