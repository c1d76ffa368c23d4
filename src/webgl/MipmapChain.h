// The mipmap levels gluBuild2DMipmaps makes from an image, in RGBA, ready to upload.
#pragma once

#include <vector>

class MipmapChain {
  public:
    struct Level {
        int width;
        int height;
        std::vector<unsigned char> rgba; // rows bottom-first as given, 4 bytes a texel, no padding
    };

    // An image of 3 (RGB) or 4 (RGBA) bytes a pixel, rows padded to 4 bytes as OpenGL's default
    // unpack alignment reads them. A side that is not a power of two is scaled down to the one
    // below it by averaging areas; each further level halves with a 2 x 2 box, down to 1 x 1.
    // keepAlpha false stores alpha 1, as an RGB internal format samples it.
    static std::vector<Level> build(const unsigned char* pixels, int width, int height,
                                    int channels, bool keepAlpha);

  private:
    static Level unpack(const unsigned char* pixels, int width, int height, int channels,
                        bool keepAlpha);
    static Level scaleDown(const Level& source, int width, int height);
    static Level halve(const Level& source);
};
