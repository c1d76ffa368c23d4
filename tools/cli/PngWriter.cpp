// PNG output through FreeImage, which also stores rows bottom first.
#include "cli/PngWriter.h"

#include <FreeImage.h>

#include <cstdio>

bool PngWriter::write(const std::string& path, const std::vector<uint8_t>& pixels, int width,
                      int height) {
    FIBITMAP* image = FreeImage_Allocate(width, height, 24);
    if (!image) {
        return false;
    }
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(image, y);
        const uint8_t* src = &pixels[static_cast<size_t>(y) * width * 4];
        for (int x = 0; x < width; ++x) {
            row[x * 3 + FI_RGBA_RED] = src[x * 4 + 0];
            row[x * 3 + FI_RGBA_GREEN] = src[x * 4 + 1];
            row[x * 3 + FI_RGBA_BLUE] = src[x * 4 + 2];
        }
    }
    // Written beside the target and renamed, so a file that exists is whole.
    const std::string partial = path + ".partial";
    bool ok = FreeImage_Save(FIF_PNG, image, partial.c_str(), PNG_Z_BEST_SPEED) != 0;
    FreeImage_Unload(image);
    ok = ok && rename(partial.c_str(), path.c_str()) == 0;
    if (!ok) {
        remove(partial.c_str());
    }
    return ok;
}

std::string PngWriter::shotName(double seconds) {
    char name[48];
    snprintf(name, sizeof(name), "t-%07.3f.png", seconds);
    return name;
}

std::string PngWriter::frameName(long long frame) {
    char name[32];
    snprintf(name, sizeof(name), "frame-%06lld.png", frame);
    return name;
}
