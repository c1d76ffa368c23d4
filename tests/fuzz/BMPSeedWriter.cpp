// Writes the fuzzer's seed corpus: small valid and damaged BMP files into the given folder.
#include <string>

#include "image/BMPFileWriter.h"

using bmpfile::Bytes;

namespace {

Bytes pattern(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) {
        b[i] = static_cast<unsigned char>(1 + (i * 37) % 251);
    }
    return b;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const std::string dir = argv[1];
    const Bytes rle = {3, 0x11, 0, 5, 1, 2, 3, 4, 5, 0, 0, 0, 2, 0x22, 0, 2, 3, 1, 2, 0x33, 0, 1};
    const Bytes whole24 = bmpfile::bmp(3, 2, 24, 0, bmpfile::padRows(pattern(18), 9));
    const struct {
        const char* name;
        Bytes bytes;
    } seeds[] = {
        {"rgb24.bmp", whole24},
        {"rgb24_topdown.bmp", bmpfile::bmp(3, -2, 24, 0, bmpfile::padRows(pattern(18), 9))},
        {"rgb32.bmp", bmpfile::bmp(2, 2, 32, 0, pattern(16))},
        {"index8.bmp", bmpfile::bmp(5, 3, 8, 0, bmpfile::padRows(pattern(15), 5))},
        {"rle8.bmp", bmpfile::bmp(8, 3, 8, 1, rle)},
        {"rle8_topdown.bmp", bmpfile::bmp(8, -3, 8, 1, rle)},
        {"mono1.bmp", bmpfile::bmp(32, 2, 1, 0, pattern(8))},
        {"bitfields.bmp", bmpfile::bmp(2, 2, 32, 3, pattern(16))},
        {"core12.bmp", bmpfile::bmp(2, 2, 24, 0, pattern(16), 12)},
        {"truncated24.bmp", Bytes(whole24.begin(), whole24.begin() + 60)},
    };
    for (const auto& seed : seeds) {
        if (!bmpfile::write(dir + "/" + seed.name, seed.bytes)) {
            return 1;
        }
    }
    return 0;
}
