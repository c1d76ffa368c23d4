// The desktop's side of the tube timing: Mesa through SDL's offscreen driver.
#include <GL/gl.h>

#include <SDL/SDL.h>

#include <chrono>
#include <cstdio>

#include "TubeTiming.h"

namespace {

double now() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void waitForFrame() {
    unsigned char pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

} // namespace

int main() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !SDL_SetVideoMode(800, 600, 32, SDL_OPENGL)) {
        fprintf(stderr, "no OpenGL context: %s\n", SDL_GetError());
        return 1;
    }
    printf("%s\n", timeTubeLoad(TubeTiming{now, waitForFrame}).c_str());
    SDL_Quit();
    return 0;
}
