// Unpacking, power-of-two scaling and box-filtered halving of a texture image.
#include "MipmapChain.h"

#include <cstddef>

namespace {

int powerOfTwoAtMost(int n) {
    int p = 1;
    while (p * 2 <= n) {
        p *= 2;
    }
    return p;
}

} // namespace

std::vector<MipmapChain::Level> MipmapChain::build(const unsigned char* pixels, int width,
                                                   int height, int channels, bool keepAlpha) {
    std::vector<Level> levels;
    Level level = unpack(pixels, width, height, channels, keepAlpha);
    const int w = powerOfTwoAtMost(width);
    const int h = powerOfTwoAtMost(height);
    if (w != width || h != height) {
        level = scaleDown(level, w, h);
    }
    levels.push_back(level);
    while (levels.back().width > 1 || levels.back().height > 1) {
        levels.push_back(halve(levels.back()));
    }
    return levels;
}

MipmapChain::Level MipmapChain::unpack(const unsigned char* pixels, int width, int height,
                                       int channels, bool keepAlpha) {
    Level level{width, height, std::vector<unsigned char>(static_cast<size_t>(width) * height * 4)};
    const size_t stride = (static_cast<size_t>(width) * channels + 3) / 4 * 4;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = pixels + stride * y;
        unsigned char* out = &level.rgba[static_cast<size_t>(y) * width * 4];
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = row + static_cast<size_t>(x) * channels;
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
            out[3] = (channels == 4 && keepAlpha) ? p[3] : 255;
            out += 4;
        }
    }
    return level;
}

MipmapChain::Level MipmapChain::scaleDown(const Level& source, int width, int height) {
    Level level{width, height, std::vector<unsigned char>(static_cast<size_t>(width) * height * 4)};
    const double sx = static_cast<double>(source.width) / width;
    const double sy = static_cast<double>(source.height) / height;
    for (int y = 0; y < height; ++y) {
        const double y0 = y * sy;
        const double y1 = y0 + sy;
        for (int x = 0; x < width; ++x) {
            const double x0 = x * sx;
            const double x1 = x0 + sx;
            double sum[4] = {0.0, 0.0, 0.0, 0.0};
            // Each source pixel weighs by how much of it the target pixel's area covers.
            for (int j = static_cast<int>(y0); j < source.height && j < y1; ++j) {
                const double wy = (j + 1 < y1 ? j + 1 : y1) - (j > y0 ? j : y0);
                for (int i = static_cast<int>(x0); i < source.width && i < x1; ++i) {
                    const double wx = (i + 1 < x1 ? i + 1 : x1) - (i > x0 ? i : x0);
                    const unsigned char* p =
                        &source.rgba[(static_cast<size_t>(j) * source.width + i) * 4];
                    for (int c = 0; c < 4; ++c) {
                        sum[c] += p[c] * wx * wy;
                    }
                }
            }
            unsigned char* out = &level.rgba[(static_cast<size_t>(y) * width + x) * 4];
            for (int c = 0; c < 4; ++c) {
                out[c] = static_cast<unsigned char>(sum[c] / (sx * sy) + 0.5);
            }
        }
    }
    return level;
}

MipmapChain::Level MipmapChain::halve(const Level& source) {
    const int width = source.width > 1 ? source.width / 2 : 1;
    const int height = source.height > 1 ? source.height / 2 : 1;
    Level level{width, height, std::vector<unsigned char>(static_cast<size_t>(width) * height * 4)};
    // A side already at 1 is not halved: the box is 2 x 1 or 1 x 2 then.
    const int dx = source.width > 1 ? 1 : 0;
    const int dy = source.height > 1 ? 1 : 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int sx = x * (dx + 1);
            const int sy = y * (dy + 1);
            const size_t row0 = static_cast<size_t>(sy) * source.width;
            const size_t row1 = static_cast<size_t>(sy + dy) * source.width;
            const unsigned char* a = &source.rgba[(row0 + sx) * 4];
            const unsigned char* b = &source.rgba[(row0 + sx + dx) * 4];
            const unsigned char* c = &source.rgba[(row1 + sx) * 4];
            const unsigned char* d = &source.rgba[(row1 + sx + dx) * 4];
            unsigned char* out = &level.rgba[(static_cast<size_t>(y) * width + x) * 4];
            for (int k = 0; k < 4; ++k) {
                out[k] = static_cast<unsigned char>((a[k] + b[k] + c[k] + d[k] + 2) / 4);
            }
        }
    }
    return level;
}
