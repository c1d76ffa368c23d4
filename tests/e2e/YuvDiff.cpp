// vq_yuv_diff: how far a decoded video frame (raw yuv420p, limited range) shown the way its
// tags say lies from the PNG it was made from. Prints the mean absolute difference of R, G and
// B in levels over the whole frame, then over its saturated pixels.
#include <FreeImage.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Luma weights of red and blue for the matrix a stream is tagged with.
bool weightsOf(const std::string& matrix, double& kr, double& kb) {
    if (matrix == "bt709") {
        kr = 0.2126;
        kb = 0.0722;
        return true;
    }
    if (matrix == "smpte170m" || matrix == "bt470bg") {
        kr = 0.299;
        kb = 0.114;
        return true;
    }
    return false;
}

int toLevel(double v) {
    const long level = std::lround(v * 255.0);
    return static_cast<int>(level < 0 ? 0 : (level > 255 ? 255 : level));
}

} // namespace

int main(int argc, char** argv) {
    double kr = 0.0, kb = 0.0;
    if (argc != 4 || !weightsOf(argv[3], kr, kb)) {
        fprintf(stderr, "usage: vq_yuv_diff FRAME.png FRAME.yuv bt709|smpte170m|bt470bg\n");
        return 2;
    }
    FIBITMAP* loaded = FreeImage_Load(FIF_PNG, argv[1], PNG_DEFAULT);
    FIBITMAP* png = loaded ? FreeImage_ConvertTo24Bits(loaded) : nullptr;
    if (!png) {
        fprintf(stderr, "vq_yuv_diff: cannot read %s\n", argv[1]);
        return 2;
    }
    const int w = static_cast<int>(FreeImage_GetWidth(png));
    const int h = static_cast<int>(FreeImage_GetHeight(png));
    const size_t lumaSize = static_cast<size_t>(w) * h;
    const size_t chromaSize = static_cast<size_t>(w / 2) * (h / 2);
    std::vector<unsigned char> yuv(lumaSize + 2 * chromaSize);
    FILE* f = fopen(argv[2], "rb");
    const size_t got = f ? fread(yuv.data(), 1, yuv.size(), f) : 0;
    const bool longer = f && fgetc(f) != EOF;
    if (f) {
        fclose(f);
    }
    if (w % 2 != 0 || h % 2 != 0 || got != yuv.size() || longer) {
        fprintf(stderr, "vq_yuv_diff: %s is not one %dx%d yuv420p frame\n", argv[2], w, h);
        return 2;
    }
    const unsigned char* planeY = yuv.data();
    const unsigned char* planeU = planeY + lumaSize;
    const unsigned char* planeV = planeU + chromaSize;
    const double kg = 1.0 - kr - kb;
    double sum[3] = {0.0, 0.0, 0.0}, satSum[3] = {0.0, 0.0, 0.0};
    long saturated = 0;
    for (int y = 0; y < h; ++y) {
        // PNG rows are stored bottom first.
        const BYTE* row = FreeImage_GetScanLine(png, h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const size_t c = static_cast<size_t>(y / 2) * (w / 2) + x / 2;
            const double luma = (planeY[static_cast<size_t>(y) * w + x] - 16.0) / 219.0;
            const double pb = (planeU[c] - 128.0) / 224.0;
            const double pr = (planeV[c] - 128.0) / 224.0;
            const double r = luma + 2.0 * (1.0 - kr) * pr;
            const double b = luma + 2.0 * (1.0 - kb) * pb;
            const double g = (luma - kr * r - kb * b) / kg;
            const int shown[3] = {toLevel(r), toLevel(g), toLevel(b)};
            const int source[3] = {row[x * 3 + FI_RGBA_RED], row[x * 3 + FI_RGBA_GREEN],
                                   row[x * 3 + FI_RGBA_BLUE]};
            const int hi = std::max(source[0], std::max(source[1], source[2]));
            const int lo = std::min(source[0], std::min(source[1], source[2]));
            // Saturated: strongly coloured and bright, where a wrong matrix shows most.
            const bool vivid = hi - lo >= 128;
            saturated += vivid;
            for (int k = 0; k < 3; ++k) {
                const int d = std::abs(shown[k] - source[k]);
                sum[k] += d;
                if (vivid) {
                    satSum[k] += d;
                }
            }
        }
    }
    FreeImage_Unload(png);
    FreeImage_Unload(loaded);
    const double n = static_cast<double>(lumaSize);
    const double s = saturated > 0 ? static_cast<double>(saturated) : 1.0;
    printf("frame %.3f %.3f %.3f\n", sum[0] / n, sum[1] / n, sum[2] / n);
    printf("saturated %.3f %.3f %.3f %ld\n", satSum[0] / s, satSum[1] / s, satSum[2] / s,
           saturated);
    return 0;
}
