// Writes one 800 x 600 frame, as read back from OpenGL, to a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PngWriter {
  public:
    // pixels: RGBA rows bottom first, as glReadPixels gives them. Returns false on failure.
    static bool write(const std::string& path, const std::vector<uint8_t>& pixels, int width,
                      int height);
};
