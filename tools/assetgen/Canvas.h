// A floating-point picture with premultiplied alpha: supersampled painting, compositing,
// area resampling and PNG output.
#pragma once

#include <string>
#include <cstddef>
#include <vector>

#include "assetgen/Color.h"

class Canvas {
  public:
    Canvas(int width, int height, Color fill = Color{});

    int width() const { return w; }
    int height() const { return h; }
    Color& at(int x, int y) { return pixels[static_cast<size_t>(y) * w + x]; }
    const Color& at(int x, int y) const { return pixels[static_cast<size_t>(y) * w + x]; }

    // Painting functions receive logical coordinates: x from 0 to logicalWidth rightwards,
    // y from 0 to logicalHeight downwards, whatever the pixel size. A picture stretched
    // onto a quad of that aspect is drawn in the quad's units, so shapes come out unsqueezed.
    void setLogicalSize(float logicalWidth, float logicalHeight);
    float logicalWidth() const { return lw; }
    float logicalHeight() const { return lh; }

    // Averages fn over n x n sample points in every pixel and lays the result over the canvas.
    template <class F> void paint(int n, F fn);
    // Same, but replaces the pixels instead of compositing.
    template <class F> void fill(int n, F fn);

    // Lays src over this canvas with its top-left pixel at (x, y).
    void compose(const Canvas& src, int x, int y);
    // Shrinks src to cover logicalW x logicalH units of this canvas (each axis scaled on its
    // own, so art drawn unsqueezed is pre-squeezed for this canvas) and lays it over the
    // canvas centred on the logical point (cx, cy).
    void composeScaled(const Canvas& src, float cx, float cy, float logicalW, float logicalH);
    // Bilinear sample at texture coordinates (u, v), repeating in both directions.
    Color sampleWrapped(float u, float v) const;
    // A box-filtered copy of the given size (exact area averaging, for shrinking art).
    Canvas resampled(int newWidth, int newHeight) const;
    void flipVertical();

    // Writes 8-bit RGBA (withAlpha) or RGB, row 0 as the file's top row. Pixels that are
    // fully transparent get the matte colour, so texture filtering pulls no black into edges.
    bool savePng(const std::string& path, bool withAlpha, Color matte = Color{}) const;
    // Writes the four channels as they are held, without undoing the premultiplication: for
    // pictures whose colour and alpha are read as separate blend factors.
    bool savePngRaw(const std::string& path) const;

  private:
    template <class F> Color sample(int n, int x, int y, F& fn) const;
    bool write(const std::string& path, bool withAlpha, bool raw, Color matte) const;

    int w = 0;
    int h = 0;
    float lw = 1.0f;
    float lh = 1.0f;
    std::vector<Color> pixels;
};

template <class F> Color Canvas::sample(int n, int x, int y, F& fn) const {
    const float sx = lw / w;
    const float sy = lh / h;
    Color sum;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const float px = x + (i + 0.5f) / n;
            const float py = y + (j + 0.5f) / n;
            sum = sum.plus(fn(px * sx, py * sy));
        }
    }
    return sum.scaled(1.0f / (n * n));
}

template <class F> void Canvas::paint(int n, F fn) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            at(x, y) = sample(n, x, y, fn).over(at(x, y));
        }
    }
}

template <class F> void Canvas::fill(int n, F fn) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            at(x, y) = sample(n, x, y, fn);
        }
    }
}
