// Writes a frame, as read back from OpenGL at any size, to a PNG file; and the names the tools
// give their frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PngWriter {
  public:
    // pixels: width x height RGBA, rows bottom first, as glReadPixels gives them. Returns false
    // on failure, leaving no file behind.
    static bool write(const std::string& path, const std::vector<uint8_t>& pixels, int width,
                      int height);

    // A frame named by its time: "t-SSS.mmm.png" (the capture's --at, the preview's s).
    static std::string shotName(double seconds);
    // A frame named by its number in a span: "frame-NNNNNN.png".
    static std::string frameName(long long frame);
};
