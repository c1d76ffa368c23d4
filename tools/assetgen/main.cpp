// assetgen: writes every picture of the demo into the folder given as the only argument.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "FontSet.h"
#include "Icon.h"
#include "Pictures.h"

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--icon") == 0) {
        return Icon::writeCommand(argv[2], argv[3]); // the release's icon, not a demo picture
    }
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: assetgen <textures folder>\n       assetgen --icon SIZE FILE\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const FontSet fonts(ASSETGEN_FONT_DIR);
    if (!fonts.ok()) {
        return 1;
    }
    if (!Pictures::writeAll(argv[1], fonts)) {
        return 1;
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    std::printf("assetgen: done in %.2f s\n", spent.count());
    return 0;
}
