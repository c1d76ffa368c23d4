// The display's full-screen toggle: f through the event queue flips the surface between full
// screen and a window, and the display keeps drawing.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/SDLWindow.h"

namespace {

void pressF(SDLWindow& window) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = SDLK_f;
    SDL_PushEvent(&event);
    window.process_events();
}

bool fullScreen(const SDLWindow& window) {
    return (window.surface->flags & SDL_FULLSCREEN) != 0;
}

// Exits 0 when every step holds, else with the number of the first step that failed; always
// through the window's quit, which shuts SDL down before the exit.
void toggleTwice() {
    SDLWindow window;
    char caption[] = "Vorrel Quisp";
    char name[] = "vq_tests";
    char* argv[] = {name, nullptr};
    window.init(caption, 1, argv);
    SDL_Surface* surface = window.surface;
    if (!surface || !fullScreen(window) || (surface->flags & SDL_OPENGL) == 0) {
        window.quit(10);
    }
    pressF(window);
    if (window.surface != surface || fullScreen(window)) {
        window.quit(11);
    }
    pressF(window);
    if (!fullScreen(window) || surface->w != 800 || surface->h != 600) {
        window.quit(12);
    }
    // Still an OpenGL display that draws.
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    if (pixel[1] != 255 || pixel[0] != 0) {
        window.quit(13);
    }
    window.quit(0);
}

TEST(SDLWindowTest, FSwitchesTheSurfaceToAWindowAndBackToFullScreen) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(toggleTwice(), ::testing::ExitedWithCode(0), "");
}

} // namespace
