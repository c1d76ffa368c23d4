// The desktop's side of the layer test: draws each scene through Mesa and holds its frame against
// the browser's (read from the page's dump), pixel by pixel. Prints a line of figures a scene.
// Usage: vq_layer_reference PAGE_DUMP [--images DIR]; status 0 when every scene is within bounds.
#include <GL/gl.h>

#include <FreeImage.h>
#include <SDL/SDL.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "LayerScenes.h"

namespace {

// A pixel differs when a channel is off by more than this many levels: colour interpolation
// and blending round differently by a level or two, edges of primitives by much more.
const int DIFFERENT = 24;
// Bounds per scene, measured on this machine with margin: the share of differing pixels
// (rasterisation at edges: line ends, wide-line corners, point and triangle edges) and the
// PSNR over the whole frame.
const double MAX_DIFFERING_SHARE = 0.005;
const double MIN_PSNR_DB = 28.0;

typedef std::vector<unsigned char> Rgb; // rows bottom-first, 3 bytes a pixel

struct PageResult {
    std::map<std::string, Rgb> frames;
    std::map<std::string, unsigned> errors;
    std::string errorSequence;
    std::string unflushed;  // the centre of a quad the page never flushed, read as it composites
    std::string linesDraws; // WebGL draws of the lines scene
};

int hexValue(char c) {
    return c <= '9' ? c - '0' : c - 'a' + 10;
}

bool readPage(const char* path, PageResult& page) {
    std::ifstream in(path);
    std::string line;
    const size_t bytes = static_cast<size_t>(LAYER_WIDTH) * LAYER_HEIGHT * 3;
    while (std::getline(in, line)) {
        const size_t at = line.find("scene ");
        if (at != std::string::npos) {
            std::istringstream fields(line.substr(at + 6));
            std::string name, hex;
            unsigned error = 0;
            fields >> name >> error >> hex;
            if (hex.size() != bytes * 2) {
                fprintf(stderr, "scene %s: %zu hex digits, not %zu\n", name.c_str(), hex.size(),
                        bytes * 2);
                return false;
            }
            Rgb rgb(bytes);
            for (size_t i = 0; i < bytes; ++i) {
                rgb[i] = static_cast<unsigned char>(hexValue(hex[2 * i]) * 16 +
                                                    hexValue(hex[2 * i + 1]));
            }
            page.frames[name] = rgb;
            page.errors[name] = error;
        } else if (line.compare(0, 7, "errors ") == 0) {
            page.errorSequence = line.substr(7);
        } else if (line.compare(0, 6, "draws ") == 0) {
            page.linesDraws = line.substr(6);
        } else if (line.compare(0, 10, "unflushed ") == 0) {
            page.unflushed = line.substr(10);
        }
    }
    return !page.frames.empty();
}

void savePng(const Rgb& rgb, const std::string& path) {
    FIBITMAP* image = FreeImage_Allocate(LAYER_WIDTH, LAYER_HEIGHT, 24);
    for (int y = 0; y < LAYER_HEIGHT; ++y) {
        BYTE* row = FreeImage_GetScanLine(image, y); // FreeImage rows are bottom-first too
        for (int x = 0; x < LAYER_WIDTH; ++x) {
            const unsigned char* p = &rgb[(static_cast<size_t>(y) * LAYER_WIDTH + x) * 3];
            row[x * 3 + FI_RGBA_RED] = p[0];
            row[x * 3 + FI_RGBA_GREEN] = p[1];
            row[x * 3 + FI_RGBA_BLUE] = p[2];
        }
    }
    FreeImage_Save(FIF_PNG, image, path.c_str(), 0);
    FreeImage_Unload(image);
}

struct Comparison {
    int maxDiff;
    int differing;
    double psnr;
    Rgb diffImage; // each channel's difference, times 4
};

Comparison compare(const Rgb& a, const Rgb& b) {
    Comparison c{0, 0, 0.0, Rgb(a.size())};
    double squares = 0.0;
    for (size_t p = 0; p < a.size(); p += 3) {
        int worst = 0;
        for (size_t k = p; k < p + 3; ++k) {
            const int d = std::abs(a[k] - b[k]);
            squares += d * d;
            worst = d > worst ? d : worst;
            c.diffImage[k] = static_cast<unsigned char>(d * 4 > 255 ? 255 : d * 4);
        }
        c.maxDiff = worst > c.maxDiff ? worst : c.maxDiff;
        c.differing += worst > DIFFERENT ? 1 : 0;
    }
    const double mse = squares / static_cast<double>(a.size());
    c.psnr = mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
    return c;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--images") == 0)) {
        fprintf(stderr, "usage: vq_layer_reference PAGE_DUMP [--images DIR]\n");
        return 2;
    }
    const std::string images = argc == 4 ? argv[3] : "";
    PageResult page;
    if (!readPage(argv[1], page)) {
        fprintf(stderr, "no frames in %s\n", argv[1]);
        return 1;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0 ||
        !SDL_SetVideoMode(LAYER_WIDTH, LAYER_HEIGHT, 32, SDL_OPENGL)) {
        fprintf(stderr, "no OpenGL context: %s\n", SDL_GetError());
        return 1;
    }
    const double pixels = static_cast<double>(LAYER_WIDTH) * LAYER_HEIGHT;
    bool ok = true;
    printf("%-18s %8s %10s %8s\n", "scene", "max diff", "differing", "PSNR dB");
    for (int s = 0; s < LAYER_SCENE_COUNT; ++s) {
        const std::string name = LAYER_SCENES[s].name;
        resetLayerState();
        LAYER_SCENES[s].draw();
        const GLenum error = glGetError();
        Rgb desktop(static_cast<size_t>(LAYER_WIDTH) * LAYER_HEIGHT * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, LAYER_WIDTH, LAYER_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, desktop.data());
        if (page.frames.count(name) == 0) {
            printf("%-18s missing from the page\n", name.c_str());
            ok = false;
            continue;
        }
        const Comparison c = compare(desktop, page.frames[name]);
        const bool within = c.differing <= MAX_DIFFERING_SHARE * pixels && c.psnr >= MIN_PSNR_DB &&
                            error == GL_NO_ERROR && page.errors[name] == GL_NO_ERROR;
        printf("%-18s %8d %5d %4.2f%% %8.2f%s\n", name.c_str(), c.maxDiff, c.differing,
               100.0 * c.differing / pixels, c.psnr, within ? "" : "  OUT OF BOUNDS");
        if (error != GL_NO_ERROR || page.errors[name] != GL_NO_ERROR) {
            printf("  OpenGL error: desktop %u, browser %u\n", error, page.errors[name]);
        }
        ok = ok && within;
        if (!images.empty()) {
            savePng(desktop, images + "/" + name + "-desktop.png");
            savePng(page.frames[name], images + "/" + name + "-browser.png");
            savePng(c.diffImage, images + "/" + name + "-diff.png");
        }
    }
    unsigned codes[8];
    const int n = readLayerErrors(codes, 8);
    std::string sequence;
    for (int i = 0; i < n; ++i) {
        sequence += (i ? " " : "") + std::to_string(codes[i]);
    }
    printf("errors read: desktop %s, browser %s\n", sequence.c_str(), page.errorSequence.c_str());
    ok = ok && sequence == page.errorSequence;
    printf("a batch left at the task's end: %s (magenta: 255 0 255)\n", page.unflushed.c_str());
    ok = ok && page.unflushed == "255 0 255";
    printf("the lines scene's WebGL draws: %s (one run of glBegin after another: 1)\n",
           page.linesDraws.c_str());
    ok = ok && page.linesDraws == "1";
    SDL_Quit();
    return ok ? 0 : 1;
}
