// Opening the test display, the settable tick, pixel read-back and feedback parsing.
#include "support/GLContext.h"

#include <FreeImage.h>
#include <GL/gl.h>
#include <dlfcn.h>

#include "platform/ManualTick.h"
#include "platform/SDLWindow.h"
#include "platform/Timer.h"

namespace gltest {

namespace {

// SDL 1.2's layer loads SDL2, which loads the GL drivers, and unloads them all in SDL_Quit.
// Pinned here, they stay mapped, so the leak checker can still name (and suppress) the
// allocations these libraries never free.
struct PinnedLibraries {
    PinnedLibraries() {
        const char* names[] = {"libSDL2-2.0.so.0",   "libGLX_mesa.so.0",
                               "libEGL_mesa.so.0",   "libGLX.so.0",
                               "libEGL.so.1",        "libGL.so.1",
                               "libGLdispatch.so.0", "libgallium_dri.so",
                               "swrast_dri.so",      "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"};
        for (const char* name : names) {
            dlopen(name, RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE);
        }
    }
} pinnedLibraries;

} // namespace

SDLWindow* openDisplay(int width, int height) {
    static SDLWindow* window = nullptr;
    if (!window) {
        window = new SDLWindow();
        char caption[] = "Vorrel Quisp tests";
        window->init(caption, width, height);
    }
    return window;
}

void setTick(int milliseconds) {
    ManualTick::install(milliseconds);
    Timer::update();
}

void restoreTick() {
    ManualTick::uninstall();
}

std::vector<uint8_t> readPixels(int x, int y, int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Rgba pixel(int x, int y) {
    const std::vector<uint8_t> p = readPixels(x, y, 1, 1);
    return Rgba{p[0], p[1], p[2], p[3]};
}

bool savePng(const std::string& path, int width, int height) {
    const std::vector<uint8_t> pixels = readPixels(0, 0, width, height);
    FIBITMAP* image = FreeImage_Allocate(width, height, 24);
    if (!image) {
        return false;
    }
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(image, y); // FreeImage rows are bottom-up too
        for (int x = 0; x < width; ++x) {
            const uint8_t* src = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            row[x * 3 + FI_RGBA_RED] = src[0];
            row[x * 3 + FI_RGBA_GREEN] = src[1];
            row[x * 3 + FI_RGBA_BLUE] = src[2];
        }
    }
    const bool ok = FreeImage_Save(FIF_PNG, image, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(image);
    return ok;
}

std::vector<FeedbackPrimitive> captureFeedback(const std::function<void()>& draw) {
    static std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint count = glRenderMode(GL_RENDER);

    std::vector<FeedbackPrimitive> primitives;
    const int perVertex = 7; // x, y, z, r, g, b, a
    GLint i = 0;
    auto readVertices = [&](FeedbackPrimitive& prim, int n) {
        for (int k = 0; k < n && i + perVertex <= count; ++k, i += perVertex) {
            const GLfloat* v = &buffer[i];
            prim.vertices.push_back(FeedbackVertex{v[0], v[1], v[2], v[3], v[4], v[5], v[6]});
        }
    };
    while (i < count) {
        FeedbackPrimitive prim;
        prim.token = static_cast<int>(buffer[i++]);
        switch (prim.token) {
        case GL_POLYGON_TOKEN: {
            const int n = static_cast<int>(buffer[i++]);
            readVertices(prim, n);
            break;
        }
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            readVertices(prim, 2);
            break;
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            readVertices(prim, 1);
            break;
        case GL_PASS_THROUGH_TOKEN:
            ++i;
            break;
        default:
            i = count; // unknown token: stop rather than misread
            break;
        }
        primitives.push_back(prim);
    }
    return primitives;
}

std::vector<std::vector<FeedbackVertex>> quads(const std::vector<FeedbackPrimitive>& primitives) {
    std::vector<std::vector<FeedbackVertex>> result;
    for (size_t i = 0; i + 1 < primitives.size(); i += 2) {
        const std::vector<FeedbackVertex>& a = primitives[i].vertices;
        const std::vector<FeedbackVertex>& b = primitives[i + 1].vertices;
        if (a.size() != 3 || b.size() != 3) {
            break;
        }
        result.push_back({a[0], a[1], b[1], a[2]});
    }
    return result;
}

} // namespace gltest
