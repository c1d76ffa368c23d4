// What a viewer sees in captured frames: whether a frame shows a picture at all, and how a
// frame with a picture missing differs from the frame with every picture.
#include <FreeImage.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Frame {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    bool load(const char* path) {
        FIBITMAP* file = FreeImage_Load(FIF_PNG, path, 0);
        if (!file) {
            return false;
        }
        FIBITMAP* image = FreeImage_ConvertTo24Bits(file);
        FreeImage_Unload(file);
        if (!image) {
            return false;
        }
        width = static_cast<int>(FreeImage_GetWidth(image));
        height = static_cast<int>(FreeImage_GetHeight(image));
        rgb.resize(static_cast<size_t>(width) * height * 3);
        for (int y = 0; y < height; ++y) {
            const BYTE* line = FreeImage_GetScanLine(image, y);
            for (int x = 0; x < width; ++x) {
                unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
                p[0] = line[x * 3 + FI_RGBA_RED];
                p[1] = line[x * 3 + FI_RGBA_GREEN];
                p[2] = line[x * 3 + FI_RGBA_BLUE];
            }
        }
        FreeImage_Unload(image);
        return true;
    }
    size_t pixels() const { return rgb.size() / 3; }
};

// Shown: at least minLit percent of the pixels lit, and not one colour nearly everywhere.
int shows(const char* path, double minLit) {
    Frame f;
    if (!f.load(path)) {
        fprintf(stderr, "vq_frame_check: cannot read %s\n", path);
        return 2;
    }
    std::vector<size_t> count(1 << 15, 0); // colours to 5 bits a channel
    size_t lit = 0;
    for (size_t i = 0; i < f.pixels(); ++i) {
        const unsigned char* p = &f.rgb[i * 3];
        count[((p[0] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[2] >> 3)]++;
        lit += (p[0] > 24 || p[1] > 24 || p[2] > 24) ? 1 : 0;
    }
    size_t commonest = 0;
    for (size_t c : count) {
        commonest = c > commonest ? c : commonest;
    }
    const double litPercent = 100.0 * static_cast<double>(lit) / f.pixels();
    const double flatPercent = 100.0 * static_cast<double>(commonest) / f.pixels();
    printf("%s: %.1f %% lit, %.1f %% in the commonest colour\n", path, litPercent, flatPercent);
    return litPercent >= minLit && flatPercent < 99.5 ? 0 : 1;
}

// A picture missing draws its quads in their plain vertex colour, which is at least as light
// as the picture modulating it: where the frames differ, the frame without the picture is
// lighter, never darker, and where the quads are opaque it is white.
int lighter(const char* refPath, const char* path, long minChanged, double minWhite) {
    Frame ref, f;
    if (!ref.load(refPath) || !f.load(path)) {
        fprintf(stderr, "vq_frame_check: cannot read %s or %s\n", refPath, path);
        return 2;
    }
    if (ref.width != f.width || ref.height != f.height) {
        fprintf(stderr, "vq_frame_check: the frames differ in size\n");
        return 1;
    }
    const int TOLERANCE = 2; // levels: rounding of the blends
    size_t changed = 0, darker = 0, white = 0;
    for (size_t i = 0; i < f.pixels(); ++i) {
        const unsigned char* a = &ref.rgb[i * 3];
        const unsigned char* b = &f.rgb[i * 3];
        bool differs = false, darkened = false;
        for (int c = 0; c < 3; ++c) {
            differs = differs || std::abs(a[c] - b[c]) > TOLERANCE;
            darkened = darkened || a[c] - b[c] > TOLERANCE;
        }
        if (differs) {
            ++changed;
            darker += darkened ? 1 : 0;
            white += (b[0] >= 250 && b[1] >= 250 && b[2] >= 250) ? 1 : 0;
        }
    }
    const double whitePercent = changed ? 100.0 * static_cast<double>(white) / changed : 0.0;
    printf("%s: %zu pixels changed, %.1f %% of them white, %zu darker\n", path, changed,
           whitePercent, darker);
    return static_cast<long>(changed) >= minChanged && darker == 0 && whitePercent >= minWhite ? 0
                                                                                               : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "shows") == 0) {
        return shows(argv[2], atof(argv[3]));
    }
    if (argc == 6 && strcmp(argv[1], "lighter") == 0) {
        return lighter(argv[2], argv[3], atol(argv[4]), atof(argv[5]));
    }
    fprintf(stderr,
            "usage: vq_frame_check shows FRAME MIN-LIT-PERCENT\n"
            "       vq_frame_check lighter REFERENCE FRAME MIN-CHANGED MIN-WHITE-PERCENT\n");
    return 2;
}
