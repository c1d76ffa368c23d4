// The frame on screen as the scenes drew it, kept while the preview is paused: the back buffer
// is gone after a swap, and drawing a scene again would move it on.
#pragma once

#include <cstdint>
#include <vector>

class ShownFrame {
  public:
    ShownFrame(int width, int height);

    // Reads the width x height region at the lower-left corner of the back buffer.
    void read();
    // Puts the kept pixels back there; leaves every OpenGL state as it found it.
    void draw() const;

    std::vector<uint8_t> pixels; // RGBA, rows bottom first, as glReadPixels gives them
    int width;
    int height;
};
