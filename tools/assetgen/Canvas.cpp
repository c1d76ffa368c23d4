// A floating-point picture with premultiplied alpha: compositing, resampling and PNG output.
#include "assetgen/Canvas.h"

#include <FreeImage.h>

#include <cmath>

Canvas::Canvas(int width, int height, Color fillColor)
    : w(width), h(height), lw(static_cast<float>(width)), lh(static_cast<float>(height)),
      pixels(static_cast<size_t>(width) * height, fillColor) {}

void Canvas::setLogicalSize(float logicalWidth, float logicalHeight) {
    lw = logicalWidth;
    lh = logicalHeight;
}

void Canvas::compose(const Canvas& src, int x0, int y0) {
    for (int y = 0; y < src.h; ++y) {
        const int ty = y0 + y;
        if (ty < 0 || ty >= h) {
            continue;
        }
        for (int x = 0; x < src.w; ++x) {
            const int tx = x0 + x;
            if (tx >= 0 && tx < w) {
                at(tx, ty) = src.at(x, y).over(at(tx, ty));
            }
        }
    }
}

void Canvas::composeScaled(const Canvas& src, float cx, float cy, float logicalW, float logicalH) {
    const int tw = std::max(1, static_cast<int>(std::lround(logicalW * w / lw)));
    const int th = std::max(1, static_cast<int>(std::lround(logicalH * h / lh)));
    const int x0 = static_cast<int>(std::lround(cx * w / lw - 0.5f * tw));
    const int y0 = static_cast<int>(std::lround(cy * h / lh - 0.5f * th));
    compose(src.resampled(tw, th), x0, y0);
}

Color Canvas::sampleWrapped(float u, float v) const {
    const float fx = u * w - 0.5f;
    const float fy = v * h - 0.5f;
    const float flx = std::floor(fx);
    const float fly = std::floor(fy);
    const float tx = fx - flx;
    const float ty = fy - fly;
    auto wrap = [](long i, int n) { return static_cast<int>(((i % n) + n) % n); };
    const int x0 = wrap(static_cast<long>(flx), w);
    const int y0 = wrap(static_cast<long>(fly), h);
    const int x1 = (x0 + 1) % w;
    const int y1 = (y0 + 1) % h;
    const Color top = Color::mix(at(x0, y0), at(x1, y0), tx);
    const Color bottom = Color::mix(at(x0, y1), at(x1, y1), tx);
    return Color::mix(top, bottom, ty);
}

namespace {

// Weights of the source pixels that each destination pixel covers along one axis.
struct Span {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Span> areaSpans(int from, int to) {
    std::vector<Span> spans(to);
    const double scale = static_cast<double>(from) / to;
    for (int d = 0; d < to; ++d) {
        const double a = d * scale;
        const double b = (d + 1) * scale;
        Span& s = spans[d];
        s.first = static_cast<int>(std::floor(a));
        const int last = std::min(from - 1, static_cast<int>(std::ceil(b)) - 1);
        for (int i = s.first; i <= last; ++i) {
            const double lo = std::max(a, static_cast<double>(i));
            const double hi = std::min(b, static_cast<double>(i + 1));
            s.weights.push_back(static_cast<float>((hi - lo) / scale));
        }
    }
    return spans;
}

} // namespace

Canvas Canvas::resampled(int newWidth, int newHeight) const {
    const std::vector<Span> sx = areaSpans(w, newWidth);
    const std::vector<Span> sy = areaSpans(h, newHeight);
    Canvas rows(newWidth, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < newWidth; ++x) {
            Color sum;
            for (size_t k = 0; k < sx[x].weights.size(); ++k) {
                sum = sum.plus(at(sx[x].first + static_cast<int>(k), y).scaled(sx[x].weights[k]));
            }
            rows.at(x, y) = sum;
        }
    }
    Canvas out(newWidth, newHeight);
    out.setLogicalSize(lw, lh);
    for (int y = 0; y < newHeight; ++y) {
        for (int x = 0; x < newWidth; ++x) {
            Color sum;
            for (size_t k = 0; k < sy[y].weights.size(); ++k) {
                sum = sum.plus(
                    rows.at(x, sy[y].first + static_cast<int>(k)).scaled(sy[y].weights[k]));
            }
            out.at(x, y) = sum;
        }
    }
    return out;
}

void Canvas::flipVertical() {
    for (int y = 0; y < h / 2; ++y) {
        for (int x = 0; x < w; ++x) {
            std::swap(at(x, y), at(x, h - 1 - y));
        }
    }
}

namespace {

BYTE toByte(float v) {
    return static_cast<BYTE>(std::lround(clamp01(v) * 255.0f));
}

} // namespace

bool Canvas::savePng(const std::string& path, bool withAlpha, Color matte) const {
    return write(path, withAlpha, false, matte);
}

bool Canvas::savePngRaw(const std::string& path) const {
    return write(path, true, true, Color{});
}

bool Canvas::write(const std::string& path, bool withAlpha, bool raw, Color matte) const {
    const int bpp = withAlpha ? 32 : 24;
    FIBITMAP* bitmap = FreeImage_Allocate(w, h, bpp);
    if (bitmap == nullptr) {
        return false;
    }
    const float ma = matte.a > 0.0f ? matte.a : 1.0f;
    for (int y = 0; y < h; ++y) {
        // FreeImage keeps the bottom row first.
        BYTE* line = FreeImage_GetScanLine(bitmap, h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const Color& c = at(x, y);
            float r = matte.r / ma, g = matte.g / ma, b = matte.b / ma;
            if (!withAlpha || raw) {
                r = c.r;
                g = c.g;
                b = c.b;
            } else if (c.a >= 0.5f / 255.0f) {
                r = c.r / c.a;
                g = c.g / c.a;
                b = c.b / c.a;
            }
            BYTE* p = line + x * (bpp / 8);
            p[FI_RGBA_RED] = toByte(r);
            p[FI_RGBA_GREEN] = toByte(g);
            p[FI_RGBA_BLUE] = toByte(b);
            if (withAlpha) {
                p[FI_RGBA_ALPHA] = toByte(c.a);
            }
        }
    }
    const bool ok = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(bitmap);
    return ok;
}
