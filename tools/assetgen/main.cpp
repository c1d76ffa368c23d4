// assetgen: writes every picture of the demo into a folder, sized for a frame height.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "assetgen/Icon.h"
#include "assetgen/Pictures.h"

namespace {

const char* const USAGE = "usage: assetgen [--height N] <textures folder> | --icon SIZE FILE";

// A whole number of lines the pictures can be made for, or 0.
int parseHeight(const char* text) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < Pictures::BASE_HEIGHT ||
        value > Pictures::MAX_HEIGHT) {
        return 0;
    }
    return static_cast<int>(value);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--icon") == 0) {
        return Icon::writeCommand(argv[2], argv[3]); // the release's icon, not a demo picture
    }
    int height = Pictures::BASE_HEIGHT;
    const char* folder = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--height") == 0) {
            if (i + 1 == argc || (height = parseHeight(argv[i + 1])) == 0) {
                std::fprintf(stderr, "assetgen: --height needs a whole number from %d to %d\n",
                             Pictures::BASE_HEIGHT, Pictures::MAX_HEIGHT);
                return 2;
            }
            ++i;
        } else if (folder == nullptr && argv[i][0] != '-') {
            folder = argv[i];
        } else {
            std::fprintf(stderr, "%s\n", USAGE);
            return 2;
        }
    }
    if (folder == nullptr) {
        std::fprintf(stderr, "%s\n", USAGE);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    if (!Pictures::writeAll(folder, ASSETGEN_FONT_DIR, height)) {
        return 1;
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    std::printf("assetgen: %d-line set done in %.2f s\n", height, spent.count());
    return 0;
}
