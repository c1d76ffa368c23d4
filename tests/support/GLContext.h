// Test support: an OpenGL display opened through the real SDLWindow path, a settable tick,
// and what was drawn read back as pixels or as OpenGL feedback.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class SDLWindow;

namespace gltest {

// Opens the display once per process (later calls return the same window).
SDLWindow* openDisplay(int width = 800, int height = 600);

// Installs the manual tick at milliseconds, and samples it.
void setTick(int milliseconds);
// Restores the steady clock as the tick source.
void restoreTick();

struct Rgba {
    uint8_t r, g, b, a;
};

// The colour buffer (back buffer, before the swap), bottom row first, RGBA.
std::vector<uint8_t> readPixels(int x, int y, int width, int height);
// One pixel in window coordinates (y from the bottom).
Rgba pixel(int x, int y);
// Writes the lower-left 800 x 600 region to a PNG, for looking at a frame.
bool savePng(const std::string& path, int width = 800, int height = 600);

struct FeedbackVertex {
    float x, y, z;    // window coordinates
    float r, g, b, a; // colour
};

struct FeedbackPrimitive {
    int token; // GL_POLYGON_TOKEN, GL_LINE_TOKEN, GL_LINE_RESET_TOKEN, GL_POINT_TOKEN, ...
    std::vector<FeedbackVertex> vertices;
};

// Quads drawn with GL_QUADS come back as two triangles each, (v0, v1, v3) and (v1, v2, v3);
// this puts unclipped quads back together in their drawing order. Needs an even number of
// triangles.
std::vector<std::vector<FeedbackVertex>> quads(const std::vector<FeedbackPrimitive>& primitives);

// Runs draw in feedback mode and returns the primitives that survived culling and clipping.
std::vector<FeedbackPrimitive> captureFeedback(const std::function<void()>& draw);

} // namespace gltest
