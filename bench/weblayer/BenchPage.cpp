// The browser's side of the tube timing: the layer over WebGL, the result posted to the page's
// server as plain text.
#include <GL/gl.h>

#include <SDL/SDL.h>
#include <emscripten.h>

#include "TubeTiming.h"

extern "C" void emscripten_glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height,
                                        GLenum format, GLenum type, void* pixels);

namespace {

double now() {
    return emscripten_get_now();
}

void waitForFrame() {
    unsigned char pixel[4];
    emscripten_glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

} // namespace

int main() {
    std::string result = "no context";
    if (SDL_Init(SDL_INIT_VIDEO) == 0 && SDL_SetVideoMode(800, 600, 32, SDL_OPENGL)) {
        result = timeTubeLoad(TubeTiming{now, waitForFrame});
    }
    EM_ASM(
        {
            var request = new XMLHttpRequest();
            request.open('POST', '/result');
            request.send(UTF8ToString($0));
        },
        result.c_str());
    return 0;
}
