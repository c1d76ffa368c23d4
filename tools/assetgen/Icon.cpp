// The icon in the demo's own colours: a rounded night-blue plate, the wire tube of rings and
// lines bending away into an amber light, the red bars standing on a translucent floor.
#include "assetgen/Icon.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Everything is laid out in units of the icon's side, y downwards.
struct Point {
    float x, y;
};

const float PLATE_MARGIN = 0.035f;
const float PLATE_RADIUS = 0.19f;
const float RIM = 0.012f;

const Point NEAR_CENTRE = {0.42f, 0.60f};
const Point VANISHING = {0.60f, 0.34f};
const float NEAR_RADIUS = 0.50f;
const int RINGS = 15;
const int SMALL_RINGS = 10; // below 100 pixels the far rings would run into one blur
const int LINES = 12;

const float FLOOR_Y = 0.80f;
const int BARS = 9;
const float BAR_HEIGHTS[BARS] = {0.17f, 0.25f, 0.21f, 0.14f, 0.18f, 0.12f, 0.15f, 0.09f, 0.07f};

struct Ring {
    Point centre;
    float radius;
    float width;
    float light; // fog: 1 at the front, falling off along the tube
};

float length(float x, float y) {
    return std::sqrt(x * x + y * y);
}

// Distance from p to the segment a-b.
float segmentDistance(Point p, Point a, Point b) {
    const float ex = b.x - a.x, ey = b.y - a.y;
    const float len2 = ex * ex + ey * ey;
    float t = len2 > 0.0f ? ((p.x - a.x) * ex + (p.y - a.y) * ey) / len2 : 0.0f;
    t = clamp01(t);
    return length(p.x - a.x - t * ex, p.y - a.y - t * ey);
}

// Signed distance to the plate's rounded square: negative inside.
float plateDistance(Point p) {
    const float half = 0.5f - PLATE_MARGIN;
    const float qx = std::fabs(p.x - 0.5f) - (half - PLATE_RADIUS);
    const float qy = std::fabs(p.y - 0.5f) - (half - PLATE_RADIUS);
    const float outside = length(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - PLATE_RADIUS;
}

struct Tube {
    Ring rings[RINGS];
    int count;
};

// The rings of the tube, nearest first: perspective shrinks them towards the vanishing point
// and a slow sine bends their centres sideways, as the noise bends the demo's tube.
Tube makeTube(float pixel) {
    Tube tube;
    tube.count = pixel > 0.01f ? SMALL_RINGS : RINGS;
    Ring* rings = tube.rings;
    for (int k = 0; k < tube.count; ++k) {
        const float s = 1.0f / (1.0f + 0.36f * k);
        const float bend = 0.09f * std::sin(0.55f * k) * (1.0f - s);
        rings[k].centre = {VANISHING.x + (NEAR_CENTRE.x - VANISHING.x) * s + bend,
                           VANISHING.y + (NEAR_CENTRE.y - VANISHING.y) * s + 0.5f * bend};
        rings[k].radius = NEAR_RADIUS * s;
        rings[k].width = std::max(0.024f * std::sqrt(s), 1.2f * pixel);
        rings[k].light = std::exp(-0.13f * k);
    }
    return tube;
}

// How bright the tube's wire is at p: 0 off the wire, else the fog of the nearest piece hit.
float wireLight(Point p, const Tube& tube, float pixel) {
    const Ring* rings = tube.rings;
    float light = 0.0f;
    for (int k = 0; k < tube.count; ++k) {
        const Ring& r = rings[k];
        if (std::fabs(length(p.x - r.centre.x, p.y - r.centre.y) - r.radius) < 0.5f * r.width) {
            light = std::max(light, r.light);
        }
        if (k + 1 == tube.count) {
            break;
        }
        const Ring& next = rings[k + 1];
        const float width = std::max(0.6f * r.width, 1.0f * pixel);
        for (int j = 0; j < LINES; ++j) {
            const float a = 6.2831853f * (j + 0.5f) / LINES;
            const Point from = {r.centre.x + r.radius * std::cos(a),
                                r.centre.y + r.radius * std::sin(a)};
            const Point to = {next.centre.x + next.radius * std::cos(a),
                              next.centre.y + next.radius * std::sin(a)};
            if (segmentDistance(p, from, to) < 0.5f * width) {
                light = std::max(light, 0.5f * (r.light + next.light));
            }
        }
    }
    return light;
}

// The bars' colour at p, standing on the floor line, or transparent.
Color bars(Point p) {
    const float left = 0.15f, right = 0.85f;
    const float step = (right - left) / BARS;
    if (p.x < left || p.x >= right) {
        return Color{};
    }
    const int i = static_cast<int>((p.x - left) / step);
    const float within = (p.x - left) / step - i;
    if (within < 0.16f || within > 0.84f) {
        return Color{};
    }
    const float top = FLOOR_Y - BAR_HEIGHTS[i];
    if (p.y >= top && p.y < FLOOR_Y) {
        const float up = (FLOOR_Y - p.y) / BAR_HEIGHTS[i];
        return Color::mix(Color::hex(0xb01414), Color::hex(0xff5a36), up * up);
    }
    // The floor mirrors the bars, fading with depth below it.
    const float below = p.y - FLOOR_Y;
    if (below >= 0.0f && below < 0.6f * BAR_HEIGHTS[i]) {
        return Color::hex(0xd02020).withCoverage(0.45f * (1.0f - below / (0.6f * BAR_HEIGHTS[i])));
    }
    return Color{};
}

Color iconAt(Point p, const Tube& tube, float pixel) {
    const float plate = plateDistance(p);
    if (plate > 0.0f) {
        return Color{};
    }
    // Night blue, darker at the bottom, with the tube's light glowing from far down.
    Color c = Color::mix(Color::hex(0x141a33), Color::hex(0x06070d), clamp01(p.y));
    const float glow = length(p.x - VANISHING.x, p.y - VANISHING.y);
    c = c.plus(Color::rgb(1.0f, 0.55f, 0.18f).scaled(0.45f * std::exp(-glow / 0.16f)));
    c = c.plus(Color::rgb(1.0f, 0.9f, 0.6f).scaled(0.9f * std::exp(-glow / 0.035f)));
    const float wire = wireLight(p, tube, pixel);
    if (wire > 0.0f) {
        c = Color::mix(c, Color::hex(0xffd83a), wire);
    }
    // The floor is translucent, as the demo's marble is: the tube shows faintly through it.
    if (p.y >= FLOOR_Y) {
        c = Color::hex(0x0a0b12).withCoverage(0.8f).over(c);
        if (p.y < FLOOR_Y + 1.5f * pixel) {
            c = Color::mix(c, Color::hex(0x5a6080), 0.6f);
        }
    }
    c = bars(p).over(c);
    // A lighter rim keeps the plate's edge visible on dark panels.
    if (plate > -RIM) {
        c = Color::mix(c, Color::hex(0x4a5478), 0.7f);
    }
    c.r = std::min(c.r, 1.0f);
    c.g = std::min(c.g, 1.0f);
    c.b = std::min(c.b, 1.0f);
    c.a = 1.0f;
    return c;
}

} // namespace

Canvas Icon::make(int size) {
    Canvas canvas(size, size);
    canvas.setLogicalSize(1.0f, 1.0f);
    const float pixel = 1.0f / size;
    const Tube tube = makeTube(pixel);
    // More samples where a pixel holds more of the picture.
    const int samples = size <= 64 ? 8 : 4;
    canvas.fill(samples, [&](float x, float y) { return iconAt(Point{x, y}, tube, pixel); });
    return canvas;
}

int Icon::writeCommand(const char* sizeText, const std::string& path) {
    char* end = nullptr;
    errno = 0;
    const long size = std::strtol(sizeText, &end, 10);
    if (errno != 0 || end == sizeText || *end != '\0' || size < MIN_SIZE || size > MAX_SIZE) {
        std::fprintf(stderr, "assetgen: --icon needs a size from %d to %d pixels\n", MIN_SIZE,
                     MAX_SIZE);
        return 2;
    }
    if (!make(static_cast<int>(size)).savePng(path, true)) {
        std::fprintf(stderr, "assetgen: cannot write '%s'\n", path.c_str());
        return 1;
    }
    return 0;
}
