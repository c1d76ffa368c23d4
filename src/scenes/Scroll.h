// A one-line bitmap-font scroller: a text moving right to left along a travelling sine wave.
#pragma once

#include <cstdint>

#include "math/Vector.h"

// Draws geometry and texture coordinates only. The caller binds the font sheet (13 x 4 cells),
// chooses the blending and sets an orthographic projection with y growing upwards.
class Scroll {
  public:
    Scroll();
    ~Scroll();

    Scroll(const Scroll&) = delete;
    Scroll& operator=(const Scroll&) = delete;

    // Keeps a copy of msg. Position and phases carry over, so the first text after
    // construction enters at the right edge. An empty or null msg, a text too long to count
    // or a failed allocation leaves the scroller empty.
    void setText(const char* msg);
    // Drops the text; the scroll and the wave start again from x = 0, the swell keeps its phase.
    void clear();
    // Advances the wave, the swell and the scroll by dt seconds; at most one glyph leaves.
    void update(float dt);

    // One white quad per visible glyph. Changes only the current colour.
    void render() const;
    void renderString() const;
    // Outline of the region in four fading lines; leaves the line width at 1 pixel unit.
    void renderFrame() const;
    // A short yellow mark at scrollX; leaves the line width at 3 pixel units.
    void renderStats() const;

    // Fills the texture rectangle of every byte value from the sheet's cell layout.
    void initCharUV();

    float left;
    float bottom;
    float width;
    float height;
    float charWidth;
    float charHeight;
    float charSpacing;
    float waveSpeed; // wave phase advances by 2 x waveSpeed radians per second
    float ampSpeed;  // radians per second
    float scrollX;   // x of the left edge of glyph firstChar
    int32_t firstChar;
    int32_t textLength;
    char* text; // owned, zero-terminated, null when empty
    float wavePhase;
    float ampPhase;
    UVrect charUV[256];
};
