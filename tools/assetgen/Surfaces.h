// Material textures that repeat without seams, and the still picture rendered from one.
#pragma once

#include "assetgen/Canvas.h"

class Surfaces {
  public:
    // Dark veined marble; tiles in both directions.
    static Canvas marble(int size);
    // Riveted steel plates around a glowing ring band; tiles in both directions. Across
    // (u) it wraps once around the tube, along (v) it covers about 3.3 units.
    static Canvas tunnelPlates(int width, int height);
    // A view down an endless tube lined with the given texture, towards a light.
    static Canvas tunnelView(const Canvas& wall, int width, int height);
};
