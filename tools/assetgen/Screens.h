// Full-screen pictures, drawn in 800 x 600 screen units and stored at the power-of-two size
// given (1024 x 512 for a 600-line frame: no axis is minified by more than 1.3).
#pragma once

#include "assetgen/Canvas.h"
#include "assetgen/FontSet.h"

class Screens {
  public:
    // Vignette, thin frame with corner marks and a small title; clear in the middle.
    static Canvas barsOverlay(const FontSet& fonts, int width, int height);
    // A riveted porthole with a clear round window, for the view down the wire tube.
    static Canvas portholeOverlay(const FontSet& fonts, int width, int height);
    // Night sky, striped sun, mountains and a grid floor, drawn upright (y down).
    static Canvas creditsBackground(int width, int height);
};
