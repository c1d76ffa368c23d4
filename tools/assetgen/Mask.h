// A one-channel coverage image (0 outside, 1 inside) with the distance fields that
// outlines, glows and bevels are shaped from.
#pragma once

#include <cstddef>
#include <vector>

class Mask {
  public:
    Mask(int width, int height);

    int width() const { return w; }
    int height() const { return h; }
    float& at(int x, int y) { return values[static_cast<size_t>(y) * w + x]; }
    float at(int x, int y) const { return values[static_cast<size_t>(y) * w + x]; }
    // Zero outside the image.
    float get(int x, int y) const;

    // Euclidean distance in pixels from every pixel to the nearest pixel on the other side
    // of the 50 % coverage line: outside() is 0 inside the shape, inside() 0 outside it.
    Mask distanceOutside() const;
    Mask distanceInside() const;

    // Smallest rectangle holding every pixel with coverage above the threshold;
    // false when the mask is empty.
    bool bounds(float threshold, int& x0, int& y0, int& x1, int& y1) const;

  private:
    Mask distanceTo(bool toInside) const;

    int w = 0;
    int h = 0;
    std::vector<float> values;
};
