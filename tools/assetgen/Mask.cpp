// A one-channel coverage image and its exact Euclidean distance transform.
#include "assetgen/Mask.h"

#include <cmath>
#include <limits>

Mask::Mask(int width, int height)
    : w(width), h(height), values(static_cast<size_t>(width) * height, 0.0f) {}

float Mask::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= w || y >= h) {
        return 0.0f;
    }
    return at(x, y);
}

namespace {

// One-dimensional squared distance transform of a sampled function (lower envelope of
// parabolas), in place over f[0..n).
void distance1d(std::vector<float>& f, int n, std::vector<float>& d, std::vector<int>& v,
                std::vector<float>& z) {
    const float inf = std::numeric_limits<float>::infinity();
    int k = 0;
    v[0] = 0;
    z[0] = -inf;
    z[1] = inf;
    for (int q = 1; q < n; ++q) {
        if (f[q] == inf) {
            continue;
        }
        while (true) {
            const int p = v[k];
            if (f[p] == inf) {
                v[k] = q;
                z[k + 1] = inf;
                break;
            }
            const float s =
                ((f[q] + static_cast<float>(q) * q) - (f[p] + static_cast<float>(p) * p)) /
                (2.0f * q - 2.0f * p);
            if (s <= z[k]) {
                if (k == 0) {
                    v[0] = q;
                    z[1] = inf;
                    break;
                }
                --k;
                continue;
            }
            ++k;
            v[k] = q;
            z[k] = s;
            z[k + 1] = inf;
            break;
        }
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < q) {
            ++k;
        }
        const float dq = static_cast<float>(q - v[k]);
        d[q] = f[v[k]] == inf ? inf : dq * dq + f[v[k]];
    }
    for (int q = 0; q < n; ++q) {
        f[q] = d[q];
    }
}

} // namespace

Mask Mask::distanceTo(bool toInside) const {
    const float inf = std::numeric_limits<float>::infinity();
    const int n = std::max(w, h);
    std::vector<float> f(n), d(n), z(n + 1);
    std::vector<int> v(n);
    Mask out(w, h);
    for (int i = 0; i < w * h; ++i) {
        const bool inside = values[i] >= 0.5f;
        out.values[i] = inside == toInside ? 0.0f : inf;
    }
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            f[y] = out.at(x, y);
        }
        distance1d(f, h, d, v, z);
        for (int y = 0; y < h; ++y) {
            out.at(x, y) = f[y];
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            f[x] = out.at(x, y);
        }
        distance1d(f, w, d, v, z);
        for (int x = 0; x < w; ++x) {
            out.at(x, y) = std::sqrt(f[x]);
        }
    }
    return out;
}

Mask Mask::distanceOutside() const {
    return distanceTo(true);
}

Mask Mask::distanceInside() const {
    return distanceTo(false);
}

bool Mask::bounds(float threshold, int& x0, int& y0, int& x1, int& y1) const {
    x0 = w;
    y0 = h;
    x1 = -1;
    y1 = -1;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (at(x, y) > threshold) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
        }
    }
    return x1 >= 0;
}
