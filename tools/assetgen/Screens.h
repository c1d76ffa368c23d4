// Full-screen pictures, drawn in 800 x 600 screen units and stored at power-of-two sizes.
#pragma once

#include "Canvas.h"
#include "FontSet.h"

class Screens {
  public:
    // Vignette, thin frame with corner marks and a small title; clear in the middle.
    static Canvas barsOverlay(const FontSet& fonts);
    // A riveted porthole with a clear round window, for the view down the wire tube.
    static Canvas portholeOverlay(const FontSet& fonts);
    // Night sky, striped sun, mountains and a grid floor, drawn upright (y down).
    static Canvas creditsBackground();
};
