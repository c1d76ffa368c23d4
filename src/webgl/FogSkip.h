// Where linear fog leaves colours as they are, primitives drawn without it: the same pixels
// without the fog's work per pixel (the tunnels' fog reaches a unit from the eye, no further).
#pragma once

#include <cstddef>
#include <vector>

#include "DrawState.h"
#include "PrimitiveAssembler.h"

class FogSkip {
  public:
    // Primitives next to each other in a batch that fog treats alike, counted in vertices.
    struct Run {
        size_t first;
        size_t count;
        bool clear; // wholly where fog leaves the colour as it is
    };

    FogSkip();

    // Follows what WebGL is given of the state that lets primitives be drawn out of turn: the
    // depth test, depth writes and blending (a GL enum, on or off).
    void capability(unsigned cap, bool on);
    void depthMask(bool on);

    // The batch's primitives (corners vertices each: 3 a triangle, 2 a segment) as runs in their
    // order. One run, not clear, unless fog is linear and the depth test decides what stays:
    // tested and written, not blended, the nearest fragment stays whichever comes first (but for
    // fragments at one depth to the last bit), so the clear runs may be drawn after the rest.
    void split(const std::vector<DrawVertex>& primitives, int corners, const DrawState& state,
               std::vector<Run>& runs) const;

  private:
    bool depthTest;
    bool depthWrites;
    bool blending;
};
