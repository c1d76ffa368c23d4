// vq_frame_diff: how far one captured frame lies from another. The first may be a whole
// multiple of the second's size: it is then filtered down by the plain mean of each block
// (computed here on its own, not by the capture's filter). With --crop the first frame's
// rectangle is compared instead, and the brightest channel outside the rectangle is reported.
// With --blocks N both are then averaged over N x N blocks: edges that two sizes round
// differently even out, while what is missing, misplaced or thinner still shows.
#include <FreeImage.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<int> rgb; // rows top first
    int at(int x, int y, int c) const { return rgb[(static_cast<size_t>(y) * width + x) * 3 + c]; }
};

bool load(const char* path, Image& image) {
    FIBITMAP* loaded = FreeImage_Load(FIF_PNG, path, PNG_DEFAULT);
    FIBITMAP* bitmap = loaded ? FreeImage_ConvertTo24Bits(loaded) : nullptr;
    if (!bitmap) {
        if (loaded) {
            FreeImage_Unload(loaded);
        }
        return false;
    }
    image.width = static_cast<int>(FreeImage_GetWidth(bitmap));
    image.height = static_cast<int>(FreeImage_GetHeight(bitmap));
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    for (int y = 0; y < image.height; ++y) {
        const BYTE* row = FreeImage_GetScanLine(bitmap, image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            int* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
            p[0] = row[x * 3 + FI_RGBA_RED];
            p[1] = row[x * 3 + FI_RGBA_GREEN];
            p[2] = row[x * 3 + FI_RGBA_BLUE];
        }
    }
    FreeImage_Unload(bitmap);
    FreeImage_Unload(loaded);
    return true;
}

// The w x h rectangle at (x, y), top-left origin.
Image crop(const Image& image, int x0, int y0, int w, int h) {
    Image out;
    out.width = w;
    out.height = h;
    out.rgb.resize(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                out.rgb[(static_cast<size_t>(y) * w + x) * 3 + c] = image.at(x0 + x, y0 + y, c);
            }
        }
    }
    return out;
}

// Each n x n block's mean, rounded to the nearest level.
Image boxDown(const Image& image, int n) {
    Image out;
    out.width = image.width / n;
    out.height = image.height / n;
    out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
    const int count = n * n;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < n; ++dy) {
                    for (int dx = 0; dx < n; ++dx) {
                        sum += image.at(x * n + dx, y * n + dy, c);
                    }
                }
                out.rgb[(static_cast<size_t>(y) * out.width + x) * 3 + c] =
                    (sum + count / 2) / count;
            }
        }
    }
    return out;
}

int usage() {
    fprintf(stderr, "usage: vq_frame_diff [--crop X,Y,W,H] [--blocks N] A.png B.png\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    int cropRect[4] = {0, 0, 0, 0};
    bool cropped = false;
    int blocks = 1;
    int arg = 1;
    for (; arg + 1 < argc && std::strncmp(argv[arg], "--", 2) == 0; arg += 2) {
        if (std::strcmp(argv[arg], "--crop") == 0 &&
            sscanf(argv[arg + 1], "%d,%d,%d,%d", &cropRect[0], &cropRect[1], &cropRect[2],
                   &cropRect[3]) == 4) {
            cropped = true;
        } else if (std::strcmp(argv[arg], "--blocks") == 0 &&
                   sscanf(argv[arg + 1], "%d", &blocks) == 1 && blocks >= 1) {
        } else {
            return usage();
        }
    }
    if (argc - arg != 2) {
        return usage();
    }
    Image a, b;
    if (!load(argv[arg], a) || !load(argv[arg + 1], b)) {
        fprintf(stderr, "vq_frame_diff: cannot read %s or %s\n", argv[arg], argv[arg + 1]);
        return 2;
    }
    int outside = 0;
    if (cropped) {
        const int x0 = cropRect[0], y0 = cropRect[1], w = cropRect[2], h = cropRect[3];
        if (x0 < 0 || y0 < 0 || w < 1 || h < 1 || x0 + w > a.width || y0 + h > a.height) {
            fprintf(stderr, "vq_frame_diff: the rectangle lies outside %s\n", argv[arg]);
            return 2;
        }
        for (int y = 0; y < a.height; ++y) {
            for (int x = 0; x < a.width; ++x) {
                if (x < x0 || x >= x0 + w || y < y0 || y >= y0 + h) {
                    for (int c = 0; c < 3; ++c) {
                        outside = std::max(outside, a.at(x, y, c));
                    }
                }
            }
        }
        a = crop(a, x0, y0, w, h);
    }
    const int n = b.width > 0 ? a.width / b.width : 0;
    if (n < 1 || a.width != n * b.width || a.height != n * b.height) {
        fprintf(stderr, "vq_frame_diff: %dx%d is not a whole multiple of %dx%d\n", a.width,
                a.height, b.width, b.height);
        return 2;
    }
    if (n > 1) {
        a = boxDown(a, n);
    }
    if (blocks > 1) {
        if (b.width % blocks != 0 || b.height % blocks != 0) {
            fprintf(stderr, "vq_frame_diff: %dx%d does not divide into %d-pixel blocks\n", b.width,
                    b.height, blocks);
            return 2;
        }
        a = boxDown(a, blocks);
        b = boxDown(b, blocks);
    }
    double sum[3] = {0.0, 0.0, 0.0};
    int largest = 0;
    long over8 = 0; // pixels off by more than 8 levels in some channel
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            int worst = 0;
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(a.at(x, y, c) - b.at(x, y, c));
                sum[c] += d;
                worst = std::max(worst, d);
            }
            largest = std::max(largest, worst);
            over8 += worst > 8;
        }
    }
    const double pixels = static_cast<double>(b.width) * b.height;
    printf("mean %.3f %.3f %.3f\n", sum[0] / pixels, sum[1] / pixels, sum[2] / pixels);
    printf("max %d\n", largest);
    printf("over8 %.4f\n", static_cast<double>(over8) / pixels);
    if (cropped) {
        printf("outside %d\n", outside);
    }
    return 0;
}
