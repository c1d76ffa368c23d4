// libFuzzer entry: arbitrary bytes as a BMP file through the reader's whole load.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sys/mman.h>
#include <unistd.h>

#include "image/BMPImg.h"

namespace {

// Headers may claim up to 2 GiB of pixels, which the reader allocates and zeroes as it should;
// such inputs only slow the search down (five times at 1 MiB), so this target leaves them out.
// Every row, padding and run path is reached with small images.
const uint64_t LARGEST_IMAGE = 64u << 10;

bool claimsHugeImage(BMPImg& image, const char* path) {
    if (image.GetFile(path) != BMP_SUCCESS || image.ReadBmpHeader() != BMP_SUCCESS) {
        return false;
    }
    const uint64_t bytesPerPixel = image.GetBPP() > 0 ? uint64_t(image.GetBPP() / 8) : 0;
    return bytesPerPixel * uint64_t(image.GetWidth()) * uint64_t(image.GetHeight()) > LARGEST_IMAGE;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("bmpimg-fuzz", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size)) {
        __builtin_trap();
    }
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);

    BMPImg image;
    if (claimsHugeImage(image, path)) {
        return 0;
    }
    if (image.Load(path) != BMP_SUCCESS) {
        return 0;
    }
    // Touch every byte the accessors promise, so that a short buffer shows.
    const uint64_t bytes = uint64_t(image.GetBPP() / 8) * image.GetWidth() * image.GetHeight();
    volatile unsigned sum = 0;
    for (uint64_t i = 0; i < bytes; ++i) {
        sum = sum + image.GetImg()[i];
    }
    if (image.GetPalette() != nullptr) {
        for (int i = 0; i < 768; ++i) {
            sum = sum + image.GetPalette()[i];
        }
    }
    image.FlipImg();
    return 0;
}
